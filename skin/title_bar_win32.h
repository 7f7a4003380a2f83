#pragma once
// The drawn title bar, on the control base: a child window of the system
// class "static" (id 0xFFFF) over the top of a themed window's client area.
// It paints the theme's bands, the program icon and the parent's text as the
// caption, in the active or inactive colours. Mouse input passes through it
// to the parent (a plain static is transparent to hit testing), so the
// parent drags the window by it. On the screen it leaves the places of the
// caption buttons lying over it alone.
//
//   TitleBar bar;                                   // member of the window
//   bar.CreateTitleBar(hwnd(), ToRECT(skin::TitleBarBand(width)));
//   bar.SetTheme(theme);
//   bar.SetActive(wParam != FALSE);                 // on WM_NCACTIVATE
#include <windows.h>

#include "platform/raii_win32.h"
#include "skin/control_win32.h"

namespace quorv::win {

class TitleBar : public Control<TitleBar> {
public:
    TitleBar() = default;
    ~TitleBar();

    // Creates the control with its caption font and icon (replacing one
    // created before); null on failure.
    HWND CreateTitleBar(HWND parent, const RECT& rect);
    // Stores the theme index (a negative index paints nothing) and repaints.
    void SetTheme(int theme);
    // The parent's activation, which chooses the caption colours.
    void SetActive(bool active);
    // Moves the control (client coordinates of the parent).
    void Move(const RECT& rect);

    int theme() const { return theme_; }
    bool active() const { return active_; }

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    friend class Control<TitleBar>;
    // Only painting: the static's own handling does the rest.
    static RowTable<MessageRow<TitleBar>> Messages() { return {}; }
    // Nothing while no theme is set; on the screen, the places of the
    // siblings lying over the bar are clipped away.
    bool PreparePaint(HDC target) const;
    // Releases the font and the icon with the window.
    void OnDetached();

    int theme_ = -1;
    bool active_ = true;
    Font font_;
    IconHandle icon_;
};

}  // namespace quorv::win
