#include "skin/mac_button_win32.h"

#include <commctrl.h>

#include "skin/dialog_win32.h"
#include "skin/paint_win32.h"

namespace quorv::win {
namespace {

// The window property that leads from a window to its object.
constexpr const char* kProperty = "Quorv.CMacButton";
constexpr UINT_PTR kSubclassId = 0x4D42;  // one subclass of ours per button

HICON LoadProgramIcon(int resource, int size) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON,
                                           size, size, LR_DEFAULTCOLOR));
}

void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height, bool enabled) {
    if (!icon) return;
    if (enabled) {
        ::DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
    } else {
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width, height,
                     DST_ICON | DSS_DISABLED);
    }
}

}  // namespace

CMacButton::~CMacButton() { Detach(); }

bool CMacButton::Attach(HWND button) {
    if (!button || !::IsWindow(button) || FromWindow(button)) return false;
    Detach();
    if (!::SetWindowSubclass(button, &CMacButton::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = button;
    ::SetPropA(button, kProperty, this);
    const LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
    if ((style & BS_TYPEMASK) != BS_OWNERDRAW) {
        ::SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    }
    state_ = skin::ButtonLookState(state_.kind());
    Invalidate();
    return true;
}

HWND CMacButton::Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle) {
    HWND button = ::CreateWindowExA(0, "BUTTON", text ? text : "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | extraStyle,
                                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                    nullptr);
    if (!button) return nullptr;
    if (font) ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!Attach(button)) {
        ::DestroyWindow(button);
        return nullptr;
    }
    return button;
}

void CMacButton::Detach() {
    if (hwnd_) {
        ::RemoveWindowSubclass(hwnd_, &CMacButton::SubclassProc, kSubclassId);
        ::RemovePropA(hwnd_, kProperty);
        hwnd_ = nullptr;
    }
    // The tooltip is owned by the top-level window, which may have taken it
    // down already.
    if (tooltip_ && !::IsWindow(tooltip_.get())) tooltip_.release();
    tooltip_.reset();
    icon_.reset();
    arrow_.reset();
    iconWidth_ = iconHeight_ = 0;
}

CMacButton* CMacButton::FromWindow(HWND window) {
    return window ? static_cast<CMacButton*>(::GetPropA(window, kProperty)) : nullptr;
}

void CMacButton::SetTheme(int theme) {
    theme_ = theme;
    if (tooltip_) {
        ::SendMessageA(tooltip_.get(), TTM_SETTIPBKCOLOR, GetThemeColour(theme_, 2), 0);
        ::SendMessageA(tooltip_.get(), TTM_SETTIPTEXTCOLOR, GetThemeColour(theme_, 4), 0);
    }
    Invalidate();
}

bool CMacButton::LoadMainIcon(int resource, int size) {
    icon_.reset(LoadProgramIcon(resource, size));
    iconWidth_ = icon_ ? size : 0;
    iconHeight_ = icon_ ? size : 0;
    Invalidate();
    return icon_.valid();
}

bool CMacButton::SetIcon(int resource) { return LoadMainIcon(resource, 16); }
bool CMacButton::SetIcon32(int resource) { return LoadMainIcon(resource, 32); }

bool CMacButton::SetArrowIcon(int resource) {
    arrow_.reset(LoadProgramIcon(resource, 12));
    Invalidate();
    return arrow_.valid();
}

void CMacButton::SetCaptionButton(bool on) {
    captionButton_ = on;
    Invalidate();
}

void CMacButton::SetIconOnTop(bool on) {
    iconOnTop_ = on;
    Invalidate();
}

void CMacButton::SetExtendDownwards(bool on) {
    extendDownwards_ = on;
    Invalidate();
}

void CMacButton::AddTooltip(const std::string& text) {
    if (!hwnd_) return;
    tooltipText_ = text;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(hwnd_);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = &tooltipText_[0];
    if (tooltip_) {
        ::SendMessageA(tooltip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    tooltip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_) return;
    ::SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(500, 0));
    ::SendMessageA(tooltip_.get(), WM_SETFONT, ::SendMessageA(hwnd_, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageA(tooltip_.get(), TTM_SETTIPBKCOLOR, GetThemeColour(theme_, 2), 0);
    ::SendMessageA(tooltip_.get(), TTM_SETTIPTEXTCOLOR, AdjustColour(GetThemeColour(theme_, 4), -50), 0);
    ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CMacButton::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void CMacButton::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg{};
    msg.hwnd = hwnd_;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    ::SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CMacButton::PaintBuffered(HDC target, const RECT& rect) const {
    PaintDoubleBuffered(target, rect, [this](HDC dc, const RECT& r) { PaintContent(dc, r); });
}

void CMacButton::PaintContent(HDC dc, const RECT& rect) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const bool enabled = hwnd_ && ::IsWindowEnabled(hwnd_);
    const bool held = hwnd_ && (::SendMessageA(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool pressed = held || state_.DrawnPressed();
    const bool hover = state_.look() == skin::ButtonLook::MouseOver;
    const skin::ButtonColours colours = skin::ButtonColoursFor(theme_, pressed, captionButton_, hover);
    const int corner = skin::ButtonCornerSize(width);
    const int extend = extendDownwards_ ? 10 : 0;

    // What shows around rounded corners: the parent's background.
    HWND parent = hwnd_ ? ::GetParent(hwnd_) : nullptr;
    HBRUSH background = parent ? reinterpret_cast<HBRUSH>(::SendMessageA(
                                     parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)))
                               : nullptr;
    if (background) {
        ::FillRect(dc, &rect, background);
    } else {
        FillSolid(dc, rect, GetThemeColour(theme_, 1));
    }

    // Face and outline.
    {
        Brush face(::CreateSolidBrush(colours.face));
        Pen outline(::CreatePen(PS_SOLID, 1, colours.outline));
        SelectGuard b(dc, face.get());
        SelectGuard p(dc, outline.get());
        ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom + extend, corner, corner);
    }

    // Gradient.
    for (const skin::Band& band :
         skin::ButtonGradientBands(rect.top, rect.bottom, colours.gradientStart, colours.lightest)) {
        const RECT r{rect.left + 2, band.top, rect.right - 2, band.bottom};
        if (r.right > r.left) FillSolid(dc, r, band.colour);
    }

    // Main icon.
    if (icon_) {
        int x = rect.left + 3 + (captionButton_ ? 0 : 1);
        int y;
        if (iconOnTop_) {
            y = rect.top + 5;
            x = rect.left + (width - iconWidth_) / 2;
        } else {
            y = rect.top + (height - iconHeight_) / 2;
        }
        DrawIconAt(dc, icon_.get(), x, y, iconWidth_, iconHeight_, enabled);
    }
    // Drop-down mark.
    if (arrow_) DrawIconAt(dc, arrow_.get(), rect.right - 16, rect.top + (height - 12) / 2, 12, 12, enabled);

    // Inner outline: the hover frame, or the face's light edge.
    {
        Pen pen(::CreatePen(hover ? PS_INSIDEFRAME : PS_SOLID, 1, colours.innerOutline));
        SelectGuard b(dc, ::GetStockObject(NULL_BRUSH));
        SelectGuard p(dc, pen.get());
        ::RoundRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1 + (extendDownwards_ ? 9 : 0),
                    corner, corner);
    }

    // Text.
    const std::string text = hwnd_ ? WindowText(hwnd_) : std::string();
    const LRESULT cues = hwnd_ ? HiddenCues(hwnd_) : 0;
    RECT textRect = rect;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (icon_ && iconOnTop_) {
        textRect.top += iconHeight_ + 3;
        format |= DT_CENTER;
    } else if (icon_) {
        textRect.left += iconWidth_ + 8;
        format |= DT_LEFT;
    } else {
        format |= DT_CENTER;
    }
    textRect.left += 1;
    textRect.right -= 1;
    if (cues & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    if (!text.empty()) {
        HFONT font = hwnd_ ? reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
        SelectGuard f(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, enabled ? ::GetSysColor(COLOR_BTNTEXT) : ::GetSysColor(COLOR_GRAYTEXT));
        DrawTextNarrow(dc, text, textRect, format);
    }

    // Keyboard focus (not on the caption buttons, which take no part in
    // keyboard navigation).
    if (!captionButton_ && hwnd_ && ::GetFocus() == hwnd_ && !(cues & UISF_HIDEFOCUS)) {
        RECT focus = rect;
        ::InflateRect(&focus, -3, -3);
        DrawFocusFrame(dc, focus);
    }
}

LRESULT CALLBACK CMacButton::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<CMacButton*>(data);
    return GuardedHandle(window, message, wParam, lParam, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT CMacButton::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    switch (message) {
    case kReflectBase + WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item) PaintBuffered(item->hDC, item->rcItem);
        return TRUE;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(window, &client);
        PaintBuffered(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        if (!tooltip_) return 1;
        break;
    case WM_MOUSEMOVE: {
        RelayToTooltip(message, wParam, lParam);
        RECT client;
        ::GetClientRect(window, &client);
        const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const skin::ButtonLookState::Move move = state_.MouseMove(::PtInRect(&client, pt) != FALSE);
        if (move.capture && ::GetCapture() != window) ::SetCapture(window);
        if (move.release && ::GetCapture() == window) ::ReleaseCapture();
        if (move.redraw) Invalidate();
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        RelayToTooltip(message, wParam, lParam);
        if (!state_.LeftDown()) return 0;
        Invalidate();
        // A double click is one more press.
        return ::DefSubclassProc(window, WM_LBUTTONDOWN, wParam, lParam);
    case WM_LBUTTONUP:
        RelayToTooltip(message, wParam, lParam);
        state_.LeftUp();
        Invalidate();
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToTooltip(message, wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        if (state_.CaptureLost()) Invalidate();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_NCDESTROY: {
        Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorv::win
