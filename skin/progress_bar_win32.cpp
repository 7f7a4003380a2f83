#include "skin/progress_bar_win32.h"

#include <commctrl.h>

#include "platform/raii_win32.h"
#include "skin/paint_win32.h"
#include "skin/skin_geometry.h"

namespace quorv::win {
namespace {

RECT Rect(const skin::Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

}  // namespace

// Registers the window class once per process; every thread may create the
// bar (the wait window runs on a thread of its own).
bool ProgressBar::RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &ProgressBar::WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
        wc.lpszClassName = kProgressBarClass;
        return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

ProgressBar::~ProgressBar() {
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

HWND ProgressBar::Create(HWND parent, const RECT& rect, int minimum, int maximum, int theme) {
    if (!RegisterWindowClass()) return nullptr;
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = minimum;
    theme_ = theme;
    HWND bar = ::CreateWindowExA(0, kProgressBarClass, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                 ::GetModuleHandleA(nullptr), this);
    return bar;
}

void ProgressBar::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ProgressBar::SetPosition(int position) {
    if (position < minimum_ || position > maximum_ || position == position_) return;
    position_ = position;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ProgressBar::SetTheme(int theme) {
    theme_ = theme;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ProgressBar::PaintContent(HDC dc, const RECT& rect) const {
    const skin::Box client{rect.left, rect.top, rect.right, rect.bottom};
    const skin::ProgressPicture p = skin::ProgressBarPicture(client, minimum_, maximum_, position_, theme_);
    FillSolid(dc, rect, p.background);
    Pen pen(::CreatePen(PS_SOLID, 1, p.bar));
    {
        SelectGuard b(dc, ::GetStockObject(NULL_BRUSH));
        SelectGuard s(dc, pen.get());
        ::RoundRect(dc, p.outline.left, p.outline.top, p.outline.right, p.outline.bottom, 6, 6);
    }
    if (!p.filled) return;
    {
        Brush brush(::CreateSolidBrush(p.bar));
        SelectGuard b(dc, brush.get());
        SelectGuard s(dc, pen.get());
        ::RoundRect(dc, p.fill.left, p.fill.top, p.fill.right, p.fill.bottom, 4, 4);
    }
    if (!p.highlight) return;
    FillSolid(dc, Rect(p.highlightBand), p.highlightColour);
    FillSolid(dc, RECT{p.highlightBand.left, p.lineY, p.highlightBand.right, p.lineY + 1}, p.lineColour);
}

LRESULT CALLBACK ProgressBar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ProgressBar* self = reinterpret_cast<ProgressBar*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
        self = static_cast<ProgressBar*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = window;
            ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT ProgressBar::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    LRESULT painted = 0;
    if (ServePaint(*this, window, message, wParam, painted)) return painted;
    switch (message) {
    case PBM_SETRANGE32: {
        const LRESULT old = MAKELRESULT(minimum_, maximum_);
        SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return old;
    }
    case PBM_GETRANGE: {
        if (lParam) {
            PBRANGE* range = reinterpret_cast<PBRANGE*>(lParam);
            range->iLow = minimum_;
            range->iHigh = maximum_;
        }
        return wParam ? minimum_ : maximum_;
    }
    case PBM_SETPOS: {
        const int old = position_;
        SetPosition(static_cast<int>(wParam));
        return old;
    }
    case PBM_GETPOS:
        return position_;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quorv::win
