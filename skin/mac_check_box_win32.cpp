#include "skin/mac_check_box_win32.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "platform/raii_win32.h"
#include "skin/paint_win32.h"
#include "system/text_win32.h"

namespace quorv::win {
namespace {

// The box is drawn in the lengths of 96 DPI from its top-left corner;
// this puts them on the screen at the control's scale.
struct BoxPen {
    HDC dc;
    int left;
    int top;
    Scale scale;
    int X(int x) const { return left + scale.Px(x); }
    int Y(int y) const { return top + scale.Px(y); }
    // A rectangle of the design, filled.
    void Fill(int l, int t, int r, int b, COLORREF colour) const {
        const RECT rect{X(l), Y(t), X(r), Y(b)};
        if (rect.right > rect.left && rect.bottom > rect.top) FillSolid(dc, rect, colour);
    }
    // One pixel of the design (a square of pixels at a larger scale).
    void Dot(int x, int y, COLORREF colour) const { Fill(x, y, x + 1, y + 1, colour); }
    // A 1-pixel polyline of the design, drawn from its first point to just
    // before its last; a line as thick as a pixel of the design at a larger
    // scale.
    void Line(COLORREF colour, std::initializer_list<POINT> points) const {
        POINT absolute[4];
        int n = 0;
        for (const POINT& p : points) {
            if (n == 4) break;
            absolute[n++] = POINT{X(p.x), Y(p.y)};
        }
        if (scale.Px(1) <= 1) {
            Pen pen(::CreatePen(PS_SOLID, 1, colour));
            SelectGuard keep(dc, pen.get());
            ::Polyline(dc, absolute, n);
            return;
        }
        // Thicker: square pixels of the design's line, so that its ends stay
        // where they are at 96 DPI (a wide pen would round them off beyond).
        const LOGBRUSH brush{BS_SOLID, colour, 0};
        Pen pen(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, scale.Px(1), &brush, 0,
                               nullptr));
        SelectGuard keep(dc, pen.get());
        // The design's pixels are centred on the points' pixel squares.
        const int half = scale.Px(1) / 2;
        for (int i = 0; i < n; ++i) {
            absolute[i].x += half;
            absolute[i].y += half;
        }
        ::Polyline(dc, absolute, n);
    }
};

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

void CMacCheckBox::SetScale(Scale scale) {
    if (scale == scale_) return;
    scale_ = scale;
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
    const skin::Point o = skin::CheckBoxOrigin(client.right, client.bottom, right, scale_);
    return RECT{o.x, o.y, o.x + scale_.Px(14), o.y + scale_.Px(12)};
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
    const skin::Point o = skin::CheckBoxOrigin(rect.right - rect.left, rect.bottom - rect.top, rightButton, scale_);
    const int boxLeft = rect.left + o.x;
    const int boxTop = rect.top + o.y;
    PaintBackground(dc, rect);
    PaintBox(dc, boxLeft, boxTop, enabled);
    if (state_.checked()) PaintTick(dc, boxLeft + scale_.Px(1), boxTop + scale_.Px(1), enabled);
    PaintText(dc, rect, boxLeft, rightButton, enabled);
}

void CMacCheckBox::PaintBackground(HDC dc, const RECT& rect) const {
    FillWithParentBackground(hwnd(), dc, rect, WM_CTLCOLORSTATIC, colours_.background);
}

// The frame, and inside it the raised edge (sunken while pressed).
void CMacCheckBox::PaintBox(HDC dc, int left, int top, bool enabled) const {
    const skin::CheckBoxColours& c = colours_;
    const BoxPen box{dc, left, top, scale_};
    // The frame: the 12 x 12 square's edge, one pixel of the design thick.
    const COLORREF frame = enabled ? c.frame : c.dark;
    box.Fill(0, 0, 12, 1, frame);
    box.Fill(0, 11, 12, 12, frame);
    box.Fill(0, 1, 1, 11, frame);
    box.Fill(11, 1, 12, 11, frame);
    // Inside it (1 to 11) the edge, raised or sunken.
    const int L = 1;
    const int T = 1;
    const int R = 11;
    const int B = 11;
    const COLORREF topLeft = state_.pressed() ? c.shadow : c.highlight;
    const COLORREF bottomRight = state_.pressed() ? c.highlight : c.shadow;
    box.Fill(L, T, R - 1, T + 1, topLeft);
    box.Fill(L, T, L + 1, B - 1, topLeft);
    box.Fill(R - 1, T, R, B, bottomRight);
    box.Fill(L, B - 1, R, B, bottomRight);
    box.Dot(R - 1, T, c.background);
    box.Dot(L, B - 1, c.background);
}

// The tick, from the inside corner of the box (it reaches one pixel beyond
// the box at the right).
void CMacCheckBox::PaintTick(HDC dc, int L, int T, bool enabled) const {
    const skin::CheckBoxColours& c = colours_;
    const COLORREF ink = enabled ? c.tick : c.dark;
    const BoxPen tick{dc, L, T, scale_};
    tick.Line(ink, {{1, 4}, {4, 7}, {12, -1}});
    tick.Line(ink, {{2, 4}, {4, 6}, {10, 0}});
    tick.Line(c.dark, {{4, 8}, {9, 3}, {9, 5}});
    tick.Line(c.shadow, {{2, 6}, {4, 8}});
    tick.Line(c.shadow, {{5, 8}, {9, 4}});
    tick.Dot(11, 1, c.dark);
    tick.Dot(12, 1, c.shadow);
    tick.Dot(11, 2, c.shadow);
}

// The window text beside the box, and the keyboard focus as a dotted frame
// around it.
void CMacCheckBox::PaintText(HDC dc, const RECT& rect, int boxLeft, bool rightButton, bool enabled) const {
    const std::string text = hwnd() ? WindowText(hwnd()) : std::string();
    if (text.empty()) return;
    const LRESULT cues = HiddenCues(hwnd());
    RECT textRect = rect;
    if (rightButton) {
        textRect.left = rect.left + scale_.Px(2);
        textRect.right = boxLeft - scale_.Px(2);
    } else {
        textRect.left = rect.left + skin::CheckBoxTextLeft(scale_);
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
    const int margin = scale_.Px(1);
    RECT focus{measure.left - margin, rect.top + (rect.bottom - rect.top - textHeight) / 2 - margin,
               measure.right + margin, 0};
    focus.bottom = focus.top + textHeight + 2 * margin;
    if (focus.right > rect.right) focus.right = rect.right;
    DrawFocusFrame(dc, focus);
}

RECT CMacCheckBox::TextRoom() const {
    RECT room{};
    if (!hwnd()) return room;
    ::GetClientRect(hwnd(), &room);
    if ((::GetWindowLongPtrW(hwnd(), GWL_STYLE) & BS_RIGHTBUTTON) != 0) {
        const skin::Point o = skin::CheckBoxOrigin(room.right, room.bottom, true, scale_);
        room.right = o.x - scale_.Px(2);
        room.left += scale_.Px(2);
    } else {
        room.left += skin::CheckBoxTextLeft(scale_);
    }
    return room;
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
