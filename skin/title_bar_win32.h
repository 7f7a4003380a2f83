#pragma once
// The drawn title bar: a child window of the system class "static" (id
// 0xFFFF) over the top of a themed window's client area. It paints the
// theme's bands, the program icon and the parent's text as the caption, in
// the active or inactive colours. Mouse input passes through it to the
// parent (a plain static is transparent to hit testing), so the parent
// drags the window by it.
//
//   TitleBar bar;                                   // member of the window
//   bar.CreateTitleBar(hwnd(), RECT{0, 0, width, 26});
//   bar.SetTheme(theme);
//   bar.SetActive(wParam != FALSE);                 // on WM_NCACTIVATE
#include <windows.h>

#include "platform/raii_win32.h"

namespace quorv::win {

class TitleBar {
public:
    TitleBar() = default;
    ~TitleBar();
    TitleBar(const TitleBar&) = delete;
    TitleBar& operator=(const TitleBar&) = delete;

    // Creates the control with its caption font and icon; null on failure.
    HWND CreateTitleBar(HWND parent, const RECT& rect);
    // Stores the theme index (a negative index paints nothing) and repaints.
    void SetTheme(int theme);
    // The parent's activation, which chooses the caption colours.
    void SetActive(bool active);
    // Moves the control (client coordinates of the parent).
    void Move(const RECT& rect);
    void Detach();

    static TitleBar* FromWindow(HWND window);

    HWND hwnd() const { return hwnd_; }
    int theme() const { return theme_; }
    bool active() const { return active_; }

    void PaintContent(HDC dc, const RECT& rect) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    int theme_ = -1;
    bool active_ = true;
    Font font_;
    IconHandle icon_;
};

}  // namespace quorv::win
