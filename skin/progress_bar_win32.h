#pragma once
// The drawn progress bar of the wait window: a child window of the
// program's own class that paints itself in the colour theme through an
// off-screen bitmap. It answers the standard progress-bar messages
// PBM_SETRANGE32, PBM_GETRANGE, PBM_SETPOS and PBM_GETPOS, so that a test
// or an accessibility tool can read it; a position outside the range is
// ignored.
#include <windows.h>

#include "skin/control_win32.h"
#include "view/scale.h"
#include "view/theme.h"

namespace quorv::win {

inline constexpr const wchar_t* kProgressBarClass = L"QuorvProgressBar";

class ProgressBar : public Control<ProgressBar> {
public:
    ProgressBar() = default;
    ~ProgressBar();

    // Creates the child window; null on failure.
    HWND Create(HWND parent, const RECT& rect, int minimum, int maximum, int theme);

    void SetRange(int minimum, int maximum);
    // Ignored outside the range; repaints when the position changed.
    void SetPosition(int position);
    int position() const { return position_; }
    void SetTheme(int theme);
    // The window's display scale: the corners, the inset and the highlight
    // (given for 96 DPI) follow it.
    void SetScale(Scale scale);

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    friend class Control<ProgressBar>;
    static RowTable<MessageRow<ProgressBar>> Messages();
    bool OnSetRange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetRange(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetPosition(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetPosition(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int theme_ = kDefaultTheme;
    Scale scale_;
};

}  // namespace quorv::win
