#include "skin/mac_check_box_win32.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "platform/raii_win32.h"
#include "skin/paint_win32.h"

namespace quorv::win {
namespace {

// The window property that leads from a window to its object.
constexpr const char* kProperty = "Quorv.CMacCheckBox";
constexpr UINT_PTR kSubclassId = 0x4D43;

void SetPixelColour(HDC dc, int x, int y, COLORREF colour) { ::SetPixelV(dc, x, y, colour); }

// A polyline in one 1-pixel pen, points relative to (left, top).
void Tick(HDC dc, int left, int top, COLORREF colour, std::initializer_list<POINT> points) {
    Pen pen(::CreatePen(PS_SOLID, 1, colour));
    SelectGuard keep(dc, pen.get());
    POINT absolute[4];
    int n = 0;
    for (const POINT& p : points) {
        if (n == 4) break;
        absolute[n++] = POINT{left + p.x, top + p.y};
    }
    ::Polyline(dc, absolute, n);
}

void FillColour(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT r{left, top, right, bottom};
    if (right > left && bottom > top) FillSolid(dc, r, colour);
}

}  // namespace

CMacCheckBox::~CMacCheckBox() { Detach(); }

bool CMacCheckBox::Attach(HWND checkBox) {
    if (!checkBox || !::IsWindow(checkBox) || FromWindow(checkBox)) return false;
    Detach();
    const bool checked = ::SendMessageA(checkBox, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    if (!::SetWindowSubclass(checkBox, &CMacCheckBox::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = checkBox;
    ::SetPropA(checkBox, kProperty, this);
    state_ = skin::CheckBoxState();
    state_.set_checked(checked);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
}

HWND CMacCheckBox::Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle) {
    HWND box = ::CreateWindowExA(0, "BUTTON", text ? text : "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | extraStyle, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
    if (!box) return nullptr;
    if (font) ::SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!Attach(box)) {
        ::DestroyWindow(box);
        return nullptr;
    }
    return box;
}

void CMacCheckBox::Detach() {
    if (!hwnd_) return;
    ::RemoveWindowSubclass(hwnd_, &CMacCheckBox::SubclassProc, kSubclassId);
    ::RemovePropA(hwnd_, kProperty);
    hwnd_ = nullptr;
}

CMacCheckBox* CMacCheckBox::FromWindow(HWND window) {
    return window ? static_cast<CMacCheckBox*>(::GetPropA(window, kProperty)) : nullptr;
}

void CMacCheckBox::SetTheme(int theme) {
    theme_ = theme;
    colours_ = skin::CheckBoxColoursFor(theme);
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void CMacCheckBox::SetCheck(bool checked) {
    if (hwnd_) {
        ::SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        state_.set_checked(checked);
    }
}

bool CMacCheckBox::IsCheckBoxStyle() const {
    if (!hwnd_) return false;
    switch (::GetWindowLongPtrA(hwnd_, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return true;
    default:
        return false;
    }
}

void CMacCheckBox::RedrawBox() {
    if (!hwnd_) return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const bool right = (::GetWindowLongPtrA(hwnd_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
    const skin::Point o = skin::CheckBoxOrigin(client.right, client.bottom, right);
    const RECT box{o.x, o.y, o.x + 14, o.y + 12};
    ::InvalidateRect(hwnd_, &box, FALSE);
}

void CMacCheckBox::Finish(const skin::CheckBoxState::Release& release) {
    ::SendMessageA(hwnd_, BM_SETCHECK, release.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    RedrawBox();
    if (release.notify) {
        const int id = ::GetDlgCtrlID(hwnd_);
        ::PostMessageA(::GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
    }
}

void CMacCheckBox::PaintContent(HDC dc, const RECT& rect) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const bool enabled = hwnd_ && ::IsWindowEnabled(hwnd_);
    const LONG_PTR style = hwnd_ ? ::GetWindowLongPtrA(hwnd_, GWL_STYLE) : 0;
    const bool rightButton = (style & BS_RIGHTBUTTON) != 0;
    const skin::CheckBoxColours& c = colours_;

    HWND parent = hwnd_ ? ::GetParent(hwnd_) : nullptr;
    HBRUSH background = parent ? reinterpret_cast<HBRUSH>(::SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                                         reinterpret_cast<WPARAM>(dc),
                                                                         reinterpret_cast<LPARAM>(hwnd_)))
                               : nullptr;
    if (background) {
        ::FillRect(dc, &rect, background);
    } else {
        FillSolid(dc, rect, c.c1);
    }

    const skin::Point o = skin::CheckBoxOrigin(width, height, rightButton);
    const int boxLeft = rect.left + o.x;
    const int boxTop = rect.top + o.y;
    // 1. The frame.
    {
        Brush frame(::CreateSolidBrush(enabled ? c.c4L : c.c3));
        const RECT box{boxLeft, boxTop, boxLeft + 12, boxTop + 12};
        ::FrameRect(dc, &box, frame.get());
    }
    // 2. The raised (or, while pressed, sunken) edge inside it.
    const int L = boxLeft + 1;
    const int T = boxTop + 1;
    const int R = boxLeft + 11;
    const int B = boxTop + 11;
    const bool pressed = state_.pressed();
    const COLORREF topLeft = pressed ? c.cm : c.c0;
    const COLORREF bottomRight = pressed ? c.c0 : c.cm;
    FillColour(dc, L, T, R - 1, T + 1, topLeft);
    FillColour(dc, L, T, L + 1, B - 1, topLeft);
    FillColour(dc, R - 1, T, R, B, bottomRight);
    FillColour(dc, L, B - 1, R, B, bottomRight);
    SetPixelColour(dc, R - 1, T, c.c1);
    SetPixelColour(dc, L, B - 1, c.c1);
    // 3. The tick.
    if (state_.checked()) {
        const COLORREF ink = enabled ? GetThemeColour(theme_, 4) : c.c3;
        Tick(dc, L, T, ink, {{1, 4}, {4, 7}, {12, -1}});
        Tick(dc, L, T, ink, {{2, 4}, {4, 6}, {10, 0}});
        Tick(dc, L, T, c.c3, {{4, 8}, {9, 3}, {9, 5}});
        Tick(dc, L, T, c.cm, {{2, 6}, {4, 8}});
        Tick(dc, L, T, c.cm, {{5, 8}, {9, 4}});
        SetPixelColour(dc, L + 11, T + 1, c.c3);
        SetPixelColour(dc, L + 12, T + 1, c.cm);
        SetPixelColour(dc, L + 11, T + 2, c.cm);
    }
    // 4. The text.
    const std::string text = hwnd_ ? WindowText(hwnd_) : std::string();
    if (text.empty()) return;
    const LRESULT cues = HiddenCues(hwnd_);
    RECT textRect = rect;
    if (rightButton) {
        textRect.left = rect.left + 2;
        textRect.right = boxLeft - 2;
    } else {
        textRect.left = rect.left + 17;
    }
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    SelectGuard f(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, enabled ? ::GetSysColor(COLOR_BTNTEXT) : ::GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (cues & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    DrawTextNarrow(dc, text, textRect, format);
    // Keyboard focus: a dotted frame around the text.
    if (::GetFocus() == hwnd_ && !(cues & UISF_HIDEFOCUS)) {
        RECT measure = textRect;
        DrawTextNarrow(dc, text, measure, format | DT_CALCRECT);
        RECT focus{measure.left - 1, rect.top + (height - (measure.bottom - measure.top)) / 2 - 1,
                   measure.right + 1, 0};
        focus.bottom = focus.top + (measure.bottom - measure.top) + 2;
        if (focus.right > rect.right) focus.right = rect.right;
        DrawFocusFrame(dc, focus);
    }
}

LRESULT CALLBACK CMacCheckBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<CMacCheckBox*>(data);
    return GuardedHandle(window, message, wParam, lParam, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT CMacCheckBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    const auto inside = [window](LPARAM point) {
        RECT client;
        ::GetClientRect(window, &client);
        const POINT pt{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
        return ::PtInRect(&client, pt) != FALSE;
    };
    LRESULT painted = 0;
    if (ServePaint(*this, window, message, wParam, painted)) return painted;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        state_.LeftDown();
        ::SetFocus(window);
        ::SetCapture(window);
        RedrawBox();
        return 0;
    case WM_MOUSEMOVE:
        if (state_.tracking()) {
            if (state_.MouseMove(inside(lParam))) RedrawBox();
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        const skin::CheckBoxState::Release release = state_.LeftUp(inside(lParam), IsCheckBoxStyle());
        if (!release.handled) return 0;
        if (::GetCapture() == window) ::ReleaseCapture();
        Finish(release);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window && state_.CaptureLost()) RedrawBox();
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            state_.SpaceDown();
            RedrawBox();
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            const skin::CheckBoxState::Release release = state_.SpaceUp(IsCheckBoxStyle());
            if (release.handled) Finish(release);
            return 0;
        }
        break;
    case BM_GETCHECK:
        return state_.checked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
        const bool checked = wParam != BST_UNCHECKED;
        const bool changed = checked != state_.checked();
        state_.set_checked(checked);
        const LRESULT result = ::DefSubclassProc(window, message, checked ? BST_CHECKED : BST_UNCHECKED, lParam);
        if (changed) RedrawBox();
        return result;
    }
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE: {
        // The system's button draws itself on these at once; our picture
        // replaces it at the next paint.
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        ::InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_NCDESTROY:
        Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorv::win
