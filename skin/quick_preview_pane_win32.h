#pragma once
// The quick preview pane: the child window (identifier 0xFFFF) inside the
// "QuickView" frame that draws the loaded picture on the theme's background
// (fitted, never enlarged) and hosts the players' windows, each filling it.
// A window of the program's own class on the control base; what it shows is
// decided by the quick preview tool (tools/quick_preview_win32.h), which
// loads the pictures and drives the players.
//
//   QuickPreviewPane pane;
//   pane.Create(parent, frameRect, true);      // frame: the group box, parent's client coordinates
//   pane.SetPicture(LoadPictureFile(path));    // or an empty pointer
//   WindowHandle host(pane.CreateHost(style)); // a player's window
//
// The owner hears of the pane's timers (SetTimer on hwnd()) and of its
// window going, while the players' windows inside it still exist.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <functional>

#include "platform/raii_win32.h"
#include "skin/control_win32.h"

namespace quorv::win {

inline constexpr const wchar_t* kQuickPreviewPaneClass = L"QuorvQuickPreview";
inline constexpr UINT kQuickPreviewPaneId = 0xFFFF;

class QuickPreviewPane : public Control<QuickPreviewPane> {
public:
    struct Events {
        std::function<void(UINT_PTR timer)> timer;
        // WM_DESTROY: the parent is going, the players' windows are still there.
        std::function<void()> destroying;
    };

    QuickPreviewPane();
    ~QuickPreviewPane();

    // Destroys the window now (its hosted windows with it); nothing happens
    // when there is none.
    void Destroy();

    // Creates the pane inside the frame rectangle (client coordinates of
    // parent), visible or hidden; above the frame, which would otherwise
    // paint over it.
    bool Create(HWND parent, const RECT& frame, bool visible, Events events = {});
    // Places the pane inside the frame rectangle (4 pixels in from its left,
    // right and bottom edges, 16 down from its top); the hosted windows follow.
    void Place(const RECT& frame);

    // The picture drawn (an empty pointer leaves the pane empty); repaints.
    void SetPicture(ComPtr<IPicture> picture);
    bool HasPicture() const { return static_cast<bool>(picture_); }
    // The background colour (the theme's); repaints.
    void SetBackground(COLORREF colour);

    // A child window for a player, filling the pane, with the given style
    // added to WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS; black until the
    // player draws into it. Null on failure; the caller owns it.
    HWND CreateHost(DWORD style);

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    friend class Control<QuickPreviewPane>;
    static RowTable<MessageRow<QuickPreviewPane>> Messages();
    bool OnSize(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTimer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void FillWithChildren();
    void KeepAboveFrame();

    Events events_;
    ComPtr<IPicture> picture_;
    COLORREF background_;
};

}  // namespace quorv::win
