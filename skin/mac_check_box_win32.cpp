#include "skin/mac_check_box_win32.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "platform/raii_win32.h"
#include "skin/paint_win32.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

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

bool CMacCheckBox::Attach(HWND checkBox) {
    // Read before the subclass answers BM_GETCHECK itself.
    const bool checked =
        checkBox && ::IsWindow(checkBox) && ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    if (!Control::Attach(checkBox)) return false;
    state_.set_checked(checked);
    return true;
}

HWND CMacCheckBox::Create(HWND parent, int id, const char* text, const RECT& rect, HFONT font, DWORD extraStyle) {
    return CreateChild(parent, L"BUTTON", WideFromNarrow(text ? text : "").c_str(),
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | extraStyle, rect, id, 0, font);
}

void CMacCheckBox::OnAttached() {
    state_ = skin::CheckBoxState();
    Invalidate();
}

void CMacCheckBox::SetTheme(int theme) {
    theme_ = theme;
    colours_ = skin::CheckBoxColoursFor(theme);
    Invalidate();
}

void CMacCheckBox::SetCheck(bool checked) {
    if (hwnd()) {
        ::SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
        state_.set_checked(checked);
    }
}

bool CMacCheckBox::IsCheckBoxStyle() const {
    if (!hwnd()) return false;
    switch (::GetWindowLongPtrW(hwnd(), GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return true;
    default:
        return false;
    }
}

bool CMacCheckBox::Inside(LPARAM point) const {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const POINT pt{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return ::PtInRect(&client, pt) != FALSE;
}

// The box with the pixel right of it that the tick reaches.
RECT CMacCheckBox::Box() const {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const bool right = (::GetWindowLongPtrW(hwnd(), GWL_STYLE) & BS_RIGHTBUTTON) != 0;
    const skin::Point o = skin::CheckBoxOrigin(client.right, client.bottom, right);
    return RECT{o.x, o.y, o.x + 14, o.y + 12};
}

void CMacCheckBox::RedrawBox() {
    if (!hwnd()) return;
    const RECT box = Box();
    Invalidate(&box);
}

// The end of a press: the system's button takes the new state, and the
// parent hears of the click.
void CMacCheckBox::Finish(const skin::CheckBoxState::Release& release) {
    HWND box = hwnd();
    ::SendMessageW(box, BM_SETCHECK, release.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    RedrawBox();
    if (release.notify) {
        const int id = ::GetDlgCtrlID(box);
        ::PostMessageW(::GetParent(box), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
    }
}

// ---------------------------------------------------------------- drawing

void CMacCheckBox::PaintContent(HDC dc, const RECT& rect) const {
    const bool enabled = hwnd() && ::IsWindowEnabled(hwnd());
    const LONG_PTR style = hwnd() ? ::GetWindowLongPtrW(hwnd(), GWL_STYLE) : 0;
    const bool rightButton = (style & BS_RIGHTBUTTON) != 0;
    const skin::Point o = skin::CheckBoxOrigin(rect.right - rect.left, rect.bottom - rect.top, rightButton);
    const int boxLeft = rect.left + o.x;
    const int boxTop = rect.top + o.y;
    PaintBackground(dc, rect);
    PaintBox(dc, boxLeft, boxTop, enabled);
    if (state_.checked()) PaintTick(dc, boxLeft + 1, boxTop + 1, enabled);
    PaintText(dc, rect, boxLeft, rightButton, enabled);
}

void CMacCheckBox::PaintBackground(HDC dc, const RECT& rect) const {
    FillWithParentBackground(hwnd(), dc, rect, WM_CTLCOLORSTATIC, colours_.background);
}

// The frame, and inside it the raised edge (sunken while pressed).
void CMacCheckBox::PaintBox(HDC dc, int left, int top, bool enabled) const {
    const skin::CheckBoxColours& c = colours_;
    {
        Brush frame(::CreateSolidBrush(enabled ? c.frame : c.dark));
        const RECT box{left, top, left + 12, top + 12};
        ::FrameRect(dc, &box, frame.get());
    }
    const int L = left + 1;
    const int T = top + 1;
    const int R = left + 11;
    const int B = top + 11;
    const COLORREF topLeft = state_.pressed() ? c.shadow : c.highlight;
    const COLORREF bottomRight = state_.pressed() ? c.highlight : c.shadow;
    FillColour(dc, L, T, R - 1, T + 1, topLeft);
    FillColour(dc, L, T, L + 1, B - 1, topLeft);
    FillColour(dc, R - 1, T, R, B, bottomRight);
    FillColour(dc, L, B - 1, R, B, bottomRight);
    ::SetPixelV(dc, R - 1, T, c.background);
    ::SetPixelV(dc, L, B - 1, c.background);
}

// The tick, from the inside corner of the box (it reaches one pixel beyond
// the box at the right).
void CMacCheckBox::PaintTick(HDC dc, int L, int T, bool enabled) const {
    const skin::CheckBoxColours& c = colours_;
    const COLORREF ink = enabled ? c.tick : c.dark;
    Tick(dc, L, T, ink, {{1, 4}, {4, 7}, {12, -1}});
    Tick(dc, L, T, ink, {{2, 4}, {4, 6}, {10, 0}});
    Tick(dc, L, T, c.dark, {{4, 8}, {9, 3}, {9, 5}});
    Tick(dc, L, T, c.shadow, {{2, 6}, {4, 8}});
    Tick(dc, L, T, c.shadow, {{5, 8}, {9, 4}});
    ::SetPixelV(dc, L + 11, T + 1, c.dark);
    ::SetPixelV(dc, L + 12, T + 1, c.shadow);
    ::SetPixelV(dc, L + 11, T + 2, c.shadow);
}

// The window text beside the box, and the keyboard focus as a dotted frame
// around it.
void CMacCheckBox::PaintText(HDC dc, const RECT& rect, int boxLeft, bool rightButton, bool enabled) const {
    const std::string text = hwnd() ? WindowText(hwnd()) : std::string();
    if (text.empty()) return;
    const LRESULT cues = HiddenCues(hwnd());
    RECT textRect = rect;
    if (rightButton) {
        textRect.left = rect.left + 2;
        textRect.right = boxLeft - 2;
    } else {
        textRect.left = rect.left + 17;
    }
    SelectGuard f(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (cues & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    DrawTextNarrow(dc, text, textRect, format);
    if (::GetFocus() != hwnd() || (cues & UISF_HIDEFOCUS)) return;
    RECT measure = textRect;
    DrawTextNarrow(dc, text, measure, format | DT_CALCRECT);
    const int textHeight = measure.bottom - measure.top;
    RECT focus{measure.left - 1, rect.top + (rect.bottom - rect.top - textHeight) / 2 - 1, measure.right + 1, 0};
    focus.bottom = focus.top + textHeight + 2;
    if (focus.right > rect.right) focus.right = rect.right;
    DrawFocusFrame(dc, focus);
}

// ---------------------------------------------------------------- messages

RowTable<MessageRow<CMacCheckBox>> CMacCheckBox::Messages() {
    static constexpr MessageRow<CMacCheckBox> kRows[] = {
        {WM_LBUTTONDOWN, &CMacCheckBox::OnLeftButtonDown},
        {WM_LBUTTONDBLCLK, &CMacCheckBox::OnLeftButtonDown},
        {WM_MOUSEMOVE, &CMacCheckBox::OnMouseMove},
        {WM_LBUTTONUP, &CMacCheckBox::OnLeftButtonUp},
        {WM_CAPTURECHANGED, &CMacCheckBox::OnCaptureChanged},
        {WM_KEYDOWN, &CMacCheckBox::OnKeyDown},
        {WM_KEYUP, &CMacCheckBox::OnKeyUp},
        {BM_GETCHECK, &CMacCheckBox::OnGetCheck},
        {BM_SETCHECK, &CMacCheckBox::OnSetCheck},
        {BM_SETSTATE, &CMacCheckBox::OnSystemDrawn},
        {WM_SETFOCUS, &CMacCheckBox::OnSystemDrawn},
        {WM_KILLFOCUS, &CMacCheckBox::OnSystemDrawn},
        {WM_ENABLE, &CMacCheckBox::OnSystemDrawn},
        {WM_SETTEXT, &CMacCheckBox::OnSystemDrawn},
        {WM_SETFONT, &CMacCheckBox::OnSystemDrawn},
        {WM_UPDATEUISTATE, &CMacCheckBox::OnSystemDrawn},
    };
    return Table(kRows);
}

// A press (a double click is one more): the box takes the focus and the
// mouse until the release.
bool CMacCheckBox::OnLeftButtonDown(UINT, WPARAM, LPARAM, LRESULT& result) {
    state_.LeftDown();
    ::SetFocus(hwnd());
    ::SetCapture(hwnd());
    RedrawBox();
    result = 0;
    return true;
}

// While a press lasts, the box looks pressed only with the pointer over it.
bool CMacCheckBox::OnMouseMove(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    if (!state_.tracking()) return false;
    if (state_.MouseMove(Inside(lParam))) RedrawBox();
    result = 0;
    return true;
}

bool CMacCheckBox::OnLeftButtonUp(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    const skin::CheckBoxState::Release release = state_.LeftUp(Inside(lParam), IsCheckBoxStyle());
    if (release.handled) {
        if (::GetCapture() == hwnd()) ::ReleaseCapture();
        Finish(release);
    }
    result = 0;
    return true;
}

bool CMacCheckBox::OnCaptureChanged(UINT, WPARAM, LPARAM lParam, LRESULT&) {
    if (reinterpret_cast<HWND>(lParam) != hwnd() && state_.CaptureLost()) RedrawBox();
    return false;
}

bool CMacCheckBox::OnKeyDown(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    if (wParam != VK_SPACE) return false;
    state_.SpaceDown();
    RedrawBox();
    result = 0;
    return true;
}

bool CMacCheckBox::OnKeyUp(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    if (wParam != VK_SPACE) return false;
    const skin::CheckBoxState::Release release = state_.SpaceUp(IsCheckBoxStyle());
    if (release.handled) Finish(release);
    result = 0;
    return true;
}

bool CMacCheckBox::OnGetCheck(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = state_.checked() ? BST_CHECKED : BST_UNCHECKED;
    return true;
}

// Whoever sets the state (SetCheck, the dialog manager, another process),
// the system's button keeps it too.
bool CMacCheckBox::OnSetCheck(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool checked = wParam != BST_UNCHECKED;
    const bool changed = checked != state_.checked();
    state_.set_checked(checked);
    result = Default(message, checked ? BST_CHECKED : BST_UNCHECKED, lParam);
    if (changed) RedrawBox();
    return true;
}

// The system's button draws itself at once on these; our picture replaces
// it at the next paint.
bool CMacCheckBox::OnSystemDrawn(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = Default(message, wParam, lParam);
    Invalidate();
    return true;
}

}  // namespace quorv::win
