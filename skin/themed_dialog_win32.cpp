#include "skin/themed_dialog_win32.h"

#include "skin/mac_check_box_win32.h"
#include "skin/paint_win32.h"
#include "skin/skin_ids.h"
#include "view/skin_geometry.h"

namespace quorv::win {
namespace {

HFONT MakeTahoma(int height, int weight) {
    return ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

void PaintWindowFrame(HDC dc, const RECT& window, const RECT& client, int theme) {
    RECT r = window;
    const skin::FrameColours colours = skin::WindowFrameColours(theme);
    const COLORREF rings[3] = {colours.outer, colours.middle, colours.inner};
    for (COLORREF colour : rings) {
        Brush brush(::CreateSolidBrush(colour));
        ::FrameRect(dc, &r, brush.get());
        ::InflateRect(&r, -1, -1);
    }
    // A frame thicker than three pixels (a sizing border) gets the
    // background colour between the rings and the client area.
    if (!::EqualRect(&client, &r) && r.right > r.left && r.bottom > r.top) {
        const int saved = ::SaveDC(dc);
        ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        FillSolid(dc, r, GetThemeColour(theme, 1));
        ::RestoreDC(dc, saved);
    }
}

void DrawWindowFrame(HWND window, int theme) {
    if (!window) return;
    HDC dc = ::GetWindowDC(window);
    if (!dc) return;
    RECT windowRect;
    ::GetWindowRect(window, &windowRect);
    RECT client;
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    ::OffsetRect(&client, origin.x - windowRect.left, origin.y - windowRect.top);
    PaintWindowFrame(dc, RECT{0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top}, client,
                     theme);
    ::ReleaseDC(window, dc);
}

ThemedDialog::ThemedDialog(int theme, int dragStrip) : theme_(theme), dragStrip_(dragStrip) {}

ThemedDialog::~ThemedDialog() = default;

void ThemedDialog::SetTheme(int theme) {
    theme_ = theme;
    HWND self = hwnd();
    if (!self) return;
    background_.reset(::CreateSolidBrush(GetThemeColour(theme_, 1)));
    for (HWND child = ::GetWindow(self, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (CMacButton* button = CMacButton::FromWindow(child)) {
            button->SetTheme(theme_);
        } else if (CMacCheckBox* box = CMacCheckBox::FromWindow(child)) {
            box->SetTheme(theme_);
        }
        ::InvalidateRect(child, nullptr, TRUE);
    }
    titleBar_.SetTheme(theme_);
    DrawWindowFrame(self, theme_);
    ::InvalidateRect(self, nullptr, TRUE);
}

void ThemedDialog::LayoutCaption() {
    HWND self = hwnd();
    if (!self) return;
    RECT client;
    ::GetClientRect(self, &client);
    titleBar_.Move(ToRECT(skin::TitleBarBand(client.right)));
    PlaceCaptionButton(closeButton_, skin::kCloseFromRight);
}

void ThemedDialog::PlaceCaptionButton(const CMacButton& button, int fromRight) const {
    if (!hwnd() || !button.hwnd()) return;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const RECT r = ToRECT(skin::CaptionButton(client.right, fromRight));
    ::SetWindowPos(button.hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ThemedDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const MessageRow<ThemedDialog> kMessages[] = {
        {WM_INITDIALOG, &ThemedDialog::InitDialog},
        {WM_NCPAINT, &ThemedDialog::NcPaint},
        {WM_NCACTIVATE, &ThemedDialog::NcActivate},
        {WM_ACTIVATE, &ThemedDialog::Activate},
        {WM_CTLCOLORDLG, &ThemedDialog::CtlColor},
        {WM_CTLCOLORSTATIC, &ThemedDialog::CtlColor},
        {WM_CTLCOLORBTN, &ThemedDialog::CtlColor},
        {WM_CTLCOLORMSGBOX, &ThemedDialog::CtlColor},
        {WM_DRAWITEM, &ThemedDialog::Reflect},
        {WM_MEASUREITEM, &ThemedDialog::Reflect},
        {WM_SIZE, &ThemedDialog::Size},
        {WM_LBUTTONDOWN, &ThemedDialog::LeftDown},
        {WM_LBUTTONUP, &ThemedDialog::LeftUp},
        {WM_MOUSEMOVE, &ThemedDialog::MouseMove},
        {WM_LBUTTONDBLCLK, &ThemedDialog::DoubleClick},
        {WM_SETTEXT, &ThemedDialog::TextChanged},
    };
    return RouteRows<ThemedDialog>(this, Table(kMessages), {}, message, wParam, lParam, result) ||
           Dialog::Route(message, wParam, lParam, result);
}

bool ThemedDialog::InitDialog(UINT, WPARAM, LPARAM, LRESULT& result) {
    HWND self = hwnd();
    normalFont_.reset(MakeTahoma(-12, FW_NORMAL));
    boldFont_.reset(MakeTahoma(-13, FW_BOLD));
    background_.reset(::CreateSolidBrush(GetThemeColour(theme_, 1)));
    RECT client;
    ::GetClientRect(self, &client);
    titleBar_.CreateTitleBar(self, ToRECT(skin::TitleBarBand(client.right)));
    titleBar_.SetTheme(theme_);
    const RECT close = ToRECT(skin::CaptionButton(client.right, skin::kCloseFromRight));
    if (closeButton_.Create(self, IDC_CLOSE, "", close, normalFont_.get(), 0)) {
        closeButton_.SetCaptionButton(true);
        closeButton_.SetIcon(IDI_CLOSE);
        closeButton_.SetTheme(theme_);
    }
    result = OnInitDialog() ? TRUE : FALSE;
    return true;
}

bool ThemedDialog::NcPaint(UINT, WPARAM, LPARAM, LRESULT& result) {
    DrawWindowFrame(hwnd(), theme_);
    result = 0;
    return true;
}

bool ThemedDialog::NcActivate(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    ShowActivation(wParam != FALSE);
    result = TRUE;
    return true;
}

void ThemedDialog::ShowActivation(bool active) {
    DrawWindowFrame(hwnd(), theme_);
    titleBar_.SetActive(active);
    if (titleBar_.hwnd()) ::InvalidateRect(titleBar_.hwnd(), nullptr, FALSE);
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CMacButton* button = CMacButton::FromWindow(child);
        if (button) {
            RECT r;
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
            if (r.top < skin::kTitleBarHeight) ::InvalidateRect(child, nullptr, FALSE);
        }
    }
}

bool ThemedDialog::Activate(UINT, WPARAM wParam, LPARAM, LRESULT&) {
    // Activation also shows in the caption here: a window activated while
    // it was being created gets no second WM_NCACTIVATE (so under Wine).
    ShowActivation(LOWORD(wParam) != WA_INACTIVE);
    return false;  // the dialog's own handling keeps the focus right
}

bool ThemedDialog::CtlColor(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    if (!background_) return false;
    ::SetBkColor(reinterpret_cast<HDC>(wParam), GetThemeColour(theme_, 1));
    result = reinterpret_cast<LRESULT>(background_.get());
    return true;
}

bool ThemedDialog::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (lParam == 0) return false;
    HWND control = nullptr;
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU) return false;
        control = item->hwndItem;
    } else {
        const MEASUREITEMSTRUCT* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU) return false;
        control = ::GetDlgItem(hwnd(), static_cast<int>(item->CtlID));
    }
    if (!control) return false;
    const LRESULT answer = ::SendMessageA(control, kReflectBase + message, wParam, lParam);
    if (!answer) return false;  // not a drawn control of ours: the system's way
    result = answer;
    return true;
}

bool ThemedDialog::Size(UINT, WPARAM, LPARAM, LRESULT&) {
    LayoutCaption();
    return false;
}

bool ThemedDialog::TextChanged(UINT, WPARAM, LPARAM, LRESULT&) {
    // The caption shows the new text at its next paint.
    if (titleBar_.hwnd()) ::InvalidateRect(titleBar_.hwnd(), nullptr, FALSE);
    return false;
}

bool ThemedDialog::InDragStrip(LPARAM point) const { return PointOf(point).y < dragStrip_ && PointOf(point).y >= 0; }

bool ThemedDialog::LeftDown(UINT, WPARAM, LPARAM lParam, LRESULT&) {
    dragArmed_ = InDragStrip(lParam);
    return false;
}

bool ThemedDialog::LeftUp(UINT, WPARAM, LPARAM, LRESULT&) {
    dragArmed_ = false;
    return false;
}

bool ThemedDialog::MouseMove(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!dragArmed_) return false;
    HWND self = hwnd();
    if (!(wParam & MK_LBUTTON) || !InDragStrip(lParam) || ::IsZoomed(self)) {
        dragArmed_ = false;
        return false;
    }
    dragArmed_ = false;
    POINT screen = PointOf(lParam);
    ::ClientToScreen(self, &screen);
    // The system moves the window as if its caption had been pressed.
    ::ReleaseCapture();
    ::SendMessageA(self, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    result = 0;
    return true;
}

bool ThemedDialog::DoubleClick(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    if (!InDragStrip(lParam)) return false;
    ::SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDM_MAXIMIZE, 0), 0);
    result = 0;
    return true;
}

}  // namespace quorv::win
