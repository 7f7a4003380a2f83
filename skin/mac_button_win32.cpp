#include "skin/mac_button_win32.h"

#include <commctrl.h>

#include "skin/paint_win32.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

HICON LoadProgramIcon(int resource, int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                           size, size, LR_DEFAULTCOLOR));
}

void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height, bool enabled) {
    if (!icon) return;
    if (enabled) {
        ::DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
    } else {
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width, height,
                     DST_ICON | DSS_DISABLED);
    }
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

CMacButton::~CMacButton() {
    Detach();
    OnDetached();
}

HWND CMacButton::Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle) {
    return CreateChild(parent, L"BUTTON", WideFromNarrow(text ? text : "").c_str(),
                       WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | extraStyle, rect, id, 0, font);
}

void CMacButton::OnAttached() {
    HWND button = hwnd();
    const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
    if ((style & BS_TYPEMASK) != BS_OWNERDRAW) {
        ::SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    }
    state_ = skin::ButtonLookState(state_.kind());
    Invalidate();
}

void CMacButton::OnDetached() {
    // The tooltip is owned by the top-level window, which may have taken it
    // down already.
    if (tooltip_ && !::IsWindow(tooltip_.get())) tooltip_.release();
    tooltip_.reset();
    icon_.reset();
    arrow_.reset();
    iconWidth_ = iconHeight_ = 0;
}

void CMacButton::SetTheme(int theme) {
    theme_ = theme;
    if (tooltip_) {
        ::SendMessageW(tooltip_.get(), TTM_SETTIPBKCOLOR, GetThemeColour(theme_, 2), 0);
        ::SendMessageW(tooltip_.get(), TTM_SETTIPTEXTCOLOR, GetThemeColour(theme_, 4), 0);
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
    HWND button = hwnd();
    if (!button) return;
    tooltipText_ = WideFromNarrow(text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(button);
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = &tooltipText_[0];
    if (tooltip_) {
        ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_) return;
    ::SendMessageW(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(500, 0));
    ::SendMessageW(tooltip_.get(), WM_SETFONT, ::SendMessageW(button, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(tooltip_.get(), TTM_SETTIPBKCOLOR, GetThemeColour(theme_, 2), 0);
    ::SendMessageW(tooltip_.get(), TTM_SETTIPTEXTCOLOR, AdjustColour(GetThemeColour(theme_, 4), -50), 0);
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CMacButton::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg{};
    msg.hwnd = hwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    ::SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

// ---------------------------------------------------------------- drawing

void CMacButton::PaintContent(HDC dc, const RECT& rect) const {
    HWND button = hwnd();
    const bool enabled = button && ::IsWindowEnabled(button);
    const bool held = button && (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool hover = state_.look() == skin::ButtonLook::MouseOver;
    const skin::ButtonColours colours =
        skin::ButtonColoursFor(theme_, held || state_.DrawnPressed(), captionButton_, hover);
    const int corner = skin::ButtonCornerSize(rect.right - rect.left);
    const LRESULT cues = button ? HiddenCues(button) : 0;
    PaintBackground(dc, rect);
    PaintFace(dc, rect, colours, corner);
    PaintIcons(dc, rect, enabled);
    PaintInnerOutline(dc, rect, colours, hover, corner);
    PaintText(dc, rect, enabled, cues);
    PaintFocus(dc, rect, cues);
}

// What shows around the rounded corners: the parent's background.
void CMacButton::PaintBackground(HDC dc, const RECT& rect) const {
    FillWithParentBackground(hwnd(), dc, rect, WM_CTLCOLORBTN, GetThemeColour(theme_, 1));
}

// The rounded face with its outline (reaching below the button when it
// joins a control underneath), then the gradient bands over it.
void CMacButton::PaintFace(HDC dc, const RECT& rect, const skin::ButtonColours& colours, int corner) const {
    {
        Brush face(::CreateSolidBrush(colours.face));
        Pen outline(::CreatePen(PS_SOLID, 1, colours.outline));
        SelectGuard b(dc, face.get());
        SelectGuard p(dc, outline.get());
        ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom + (extendDownwards_ ? 10 : 0), corner, corner);
    }
    for (const skin::Band& band :
         skin::ButtonGradientBands(rect.top, rect.bottom, colours.gradientStart, colours.lightest)) {
        const RECT r{rect.left + 2, band.top, rect.right - 2, band.bottom};
        if (r.right > r.left) FillSolid(dc, r, band.colour);
    }
}

// The main icon (left, or on top and centred) and the drop-down mark at
// the right end; greyed on a disabled button.
void CMacButton::PaintIcons(HDC dc, const RECT& rect, bool enabled) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (icon_) {
        int x = rect.left + 3 + (captionButton_ ? 0 : 1);
        int y = rect.top + (height - iconHeight_) / 2;
        if (iconOnTop_) {
            x = rect.left + (width - iconWidth_) / 2;
            y = rect.top + 5;
        }
        DrawIconAt(dc, icon_.get(), x, y, iconWidth_, iconHeight_, enabled);
    }
    if (arrow_) DrawIconAt(dc, arrow_.get(), rect.right - 16, rect.top + (height - 12) / 2, 12, 12, enabled);
}

// The hover frame, or the face's light edge.
void CMacButton::PaintInnerOutline(HDC dc, const RECT& rect, const skin::ButtonColours& colours, bool hover,
                                   int corner) const {
    Pen pen(::CreatePen(hover ? PS_INSIDEFRAME : PS_SOLID, 1, colours.innerOutline));
    SelectGuard b(dc, ::GetStockObject(NULL_BRUSH));
    SelectGuard p(dc, pen.get());
    ::RoundRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1 + (extendDownwards_ ? 9 : 0), corner,
                corner);
}

// The window text on one line: centred, or beside or below the main icon.
void CMacButton::PaintText(HDC dc, const RECT& rect, bool enabled, LRESULT hiddenCues) const {
    const std::string text = hwnd() ? WindowText(hwnd()) : std::string();
    if (text.empty()) return;
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
    if (hiddenCues & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    SelectGuard f(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextNarrow(dc, text, textRect, format);
}

// The keyboard focus, inside the face; not on the caption buttons, which
// take no part in keyboard navigation.
void CMacButton::PaintFocus(HDC dc, const RECT& rect, LRESULT hiddenCues) const {
    if (captionButton_ || !hwnd() || ::GetFocus() != hwnd() || (hiddenCues & UISF_HIDEFOCUS)) return;
    RECT focus = rect;
    ::InflateRect(&focus, -3, -3);
    DrawFocusFrame(dc, focus);
}

// ---------------------------------------------------------------- messages

RowTable<MessageRow<CMacButton>> CMacButton::Messages() {
    static constexpr MessageRow<CMacButton> kRows[] = {
        {kReflectBase + WM_DRAWITEM, &CMacButton::OnDrawItem},
        {WM_MOUSEMOVE, &CMacButton::OnMouseMove},
        {WM_LBUTTONDOWN, &CMacButton::OnLeftButtonDown},
        {WM_LBUTTONDBLCLK, &CMacButton::OnLeftButtonDown},
        {WM_LBUTTONUP, &CMacButton::OnLeftButtonUp},
        {WM_RBUTTONDOWN, &CMacButton::OnOtherButton},
        {WM_RBUTTONUP, &CMacButton::OnOtherButton},
        {WM_MBUTTONDOWN, &CMacButton::OnOtherButton},
        {WM_MBUTTONUP, &CMacButton::OnOtherButton},
        {WM_CAPTURECHANGED, &CMacButton::OnCaptureChanged},
        {WM_SETFOCUS, &CMacButton::OnFocusChanged},
        {WM_KILLFOCUS, &CMacButton::OnFocusChanged},
    };
    return Table(kRows);
}

// The system's button asks for its picture at once (a press, the focus).
bool CMacButton::OnDrawItem(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    if (const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) PaintNow(item->hDC);
    result = TRUE;
    return true;
}

// The hover look: the button keeps the mouse captured while the pointer is
// over it, so that it sees the pointer leave.
bool CMacButton::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    RelayToTooltip(message, wParam, lParam);
    HWND button = hwnd();
    RECT client;
    ::GetClientRect(button, &client);
    const skin::ButtonLookState::Move move = state_.MouseMove(::PtInRect(&client, PointOf(lParam)) != FALSE);
    if (move.capture && ::GetCapture() != button) ::SetCapture(button);
    if (move.release && ::GetCapture() == button) ::ReleaseCapture();
    if (move.redraw) Invalidate();
    return false;  // the system's button sees the move too
}

// A latch button that is latched ignores the press entirely; otherwise the
// system's button takes the press (a double click is one more press).
bool CMacButton::OnLeftButtonDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    RelayToTooltip(message, wParam, lParam);
    if (state_.LeftDown()) {
        Invalidate();
        result = Default(WM_LBUTTONDOWN, wParam, lParam);
    } else {
        result = 0;
    }
    return true;
}

// The look is settled before the system's button sends the click.
bool CMacButton::OnLeftButtonUp(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    RelayToTooltip(message, wParam, lParam);
    state_.LeftUp();
    Invalidate();
    return false;
}

bool CMacButton::OnOtherButton(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    RelayToTooltip(message, wParam, lParam);
    return false;
}

bool CMacButton::OnCaptureChanged(UINT, WPARAM, LPARAM, LRESULT&) {
    if (state_.CaptureLost()) Invalidate();
    return false;
}

bool CMacButton::OnFocusChanged(UINT, WPARAM, LPARAM, LRESULT&) {
    Invalidate();  // the focus frame
    return false;
}

}  // namespace quorv::win
