#pragma once
// Small drawing helpers shared by the drawn controls of the skin.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

#include "platform/raii_win32.h"
#include "view/rect.h"

namespace quorv::win {

// The window arithmetic's rectangle and the system's, one way each.
inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// Fills a rectangle with one colour (no brush needed).
inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// Text that may hold any name goes to and from windows and the GDI through
// the wide functions: the program's narrow text is UTF-8 under its
// manifest, which the narrow window and drawing calls of every system do
// not honour (Wine converts them with the locale's code page).

// The window's text, of any length, as narrow text.
std::string WindowText(HWND window);
// Sets the window's text from narrow text.
void SetWindowTextNarrow(HWND window, std::string_view text);
// DrawText and the text extent of narrow text.
int DrawTextNarrow(HDC dc, std::string_view text, RECT& rect, UINT format);
SIZE TextExtentNarrow(HDC dc, std::string_view text);
// Fills rect with the brush the parent of a control answers to
// ctlColorMessage (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC), so that what shows
// around the control's own drawing is the parent's background; with fallback
// when the parent gives no brush.
void FillWithParentBackground(HWND control, HDC dc, const RECT& rect, UINT ctlColorMessage, COLORREF fallback);
// The dotted keyboard-focus frame of a drawn control, black on white
// whatever colours the control's own drawing left in the DC.
void DrawFocusFrame(HDC dc, const RECT& frame);

// The keyboard cues the window's UI state hides (UISF_HIDEFOCUS,
// UISF_HIDEACCEL).
inline LRESULT HiddenCues(HWND window) { return ::SendMessageA(window, WM_QUERYUISTATE, 0, 0); }

// Paints through an off-screen bitmap of the rectangle's size: paint(dc,
// local rectangle) draws into the bitmap at (0, 0), which is then copied to
// the target in one block transfer. The control base paints every control
// this way (skin/control_win32.h).
template <class Paint>
void PaintDoubleBuffered(HDC target, const RECT& rect, Paint&& paint) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    DcHandle memory(::CreateCompatibleDC(target));
    Bitmap bitmap(::CreateCompatibleBitmap(target, width, height));
    if (!memory || !bitmap) {
        paint(target, rect);
        return;
    }
    {
        SelectGuard keep(memory.get(), bitmap.get());
        const RECT local{0, 0, width, height};
        paint(memory.get(), local);
        ::BitBlt(target, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace quorv::win
