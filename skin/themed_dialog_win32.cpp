#include "skin/themed_dialog_win32.h"

#include <algorithm>

#include "skin/dpi_win32.h"
#include "skin/mac_check_box_win32.h"
#include "skin/paint_win32.h"
#include "skin/skin_ids.h"
#include "view/skin_geometry.h"

namespace quorv::win {
namespace {

HFONT MakeTahoma(int height96, int weight, Scale scale) {
    return CreateSkinFont(L"Tahoma", height96, weight, DEFAULT_PITCH | FF_SWISS, scale);
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

void PaintWindowFrame(HDC dc, const RECT& window, const RECT& client, int theme, Scale scale) {
    RECT r = window;
    const skin::FrameColours colours = skin::WindowFrameColours(theme);
    const COLORREF rings[3] = {colours.outer, colours.middle, colours.inner};
    // Each ring as thick as a pixel at the scale, but the three never reach
    // into the client area.
    const int room = std::min(std::min(client.left - window.left, window.right - client.right),
                              std::min(client.top - window.top, window.bottom - client.bottom));
    const int ring = std::max(1, std::min(scale.Px(1), room / 3));
    for (COLORREF colour : rings) {
        FrameSolid(dc, r, colour, ring);
        ::InflateRect(&r, -ring, -ring);
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

void DrawWindowFrame(HWND window, int theme, Scale scale) {
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
                     theme, scale);
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
    DrawWindowFrame(self, theme_, scale_);
    ::InvalidateRect(self, nullptr, TRUE);
}

void ThemedDialog::MakeFonts() {
    normalFont_.reset(MakeTahoma(-12, FW_NORMAL, scale_));
    boldFont_.reset(MakeTahoma(-13, FW_BOLD, scale_));
}

void ThemedDialog::SetScale(Scale scale) {
    HWND self = hwnd();
    scale_ = scale;
    if (!self) return;
    // The children keep the fonts they have until the new ones are theirs.
    const Font oldNormal(normalFont_.release());
    const Font oldBold(boldFont_.release());
    const HFONT templateFont = reinterpret_cast<HFONT>(::SendMessageW(self, WM_GETFONT, 0, 0));
    MakeFonts();
    titleBar_.SetScale(scale_);
    for (HWND child = ::GetWindow(self, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
        if (font && font == oldBold.get()) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
        } else if (font && (font == oldNormal.get() || font == templateFont)) {
            // The template's font (Tahoma 9 points) is the normal font at
            // the window's DPI.
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont_.get()), FALSE);
        }
        if (CMacButton* button = CMacButton::FromWindow(child)) {
            button->SetScale(scale_);
        } else if (CMacCheckBox* box = CMacCheckBox::FromWindow(child)) {
            box->SetScale(scale_);
        }
        ::InvalidateRect(child, nullptr, TRUE);
    }
    LayoutCaption();
    ::InvalidateRect(self, nullptr, TRUE);
}

void ThemedDialog::PlaceAfterScaleChange(const RECT& suggested) {
    ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ThemedDialog::CentreOn(const RECT& area) const {
    RECT r{};
    if (!hwnd() || !::GetWindowRect(hwnd(), &r)) return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    ::SetWindowPos(hwnd(), nullptr, area.left + ((area.right - area.left) - width) / 2,
                   area.top + ((area.bottom - area.top) - height) / 2, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

bool ThemedDialog::DpiChanged(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    SetScale(ScaleOfDpiChange(wParam));
    if (const RECT* suggested = reinterpret_cast<const RECT*>(lParam)) PlaceAfterScaleChange(*suggested);
    result = 0;
    return true;
}

void ThemedDialog::LayoutCaption() {
    HWND self = hwnd();
    if (!self) return;
    RECT client;
    ::GetClientRect(self, &client);
    titleBar_.Move(ToRECT(skin::TitleBarBand(client.right, scale_)));
    PlaceCaptionButton(closeButton_, skin::kCloseFromRight);
}

void ThemedDialog::PlaceCaptionButton(const CMacButton& button, int fromRight) const {
    if (!hwnd() || !button.hwnd()) return;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const RECT r = ToRECT(skin::CaptionButton(client.right, fromRight, scale_));
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
        {WM_SIZE, &ThemedDialog::Resized},
        {WM_LBUTTONDOWN, &ThemedDialog::LeftDown},
        {WM_LBUTTONUP, &ThemedDialog::LeftUp},
        {WM_MOUSEMOVE, &ThemedDialog::MouseMove},
        {WM_LBUTTONDBLCLK, &ThemedDialog::DoubleClick},
        {WM_SETTEXT, &ThemedDialog::TextChanged},
        {WM_DPICHANGED, &ThemedDialog::DpiChanged},
    };
    return RouteRows<ThemedDialog>(this, Table(kMessages), {}, message, wParam, lParam, result) ||
           Dialog::Route(message, wParam, lParam, result);
}

bool ThemedDialog::InitDialog(UINT, WPARAM, LPARAM, LRESULT& result) {
    HWND self = hwnd();
    // The window does its own rescaling when it moves to a screen of
    // another DPI.
    scale_ = WindowScale(self);
    TakeOverDpiChanges(self);
    MakeFonts();
    background_.reset(::CreateSolidBrush(GetThemeColour(theme_, 1)));
    RECT client;
    ::GetClientRect(self, &client);
    titleBar_.CreateTitleBar(self, ToRECT(skin::TitleBarBand(client.right, scale_)), scale_);
    titleBar_.SetTheme(theme_);
    const RECT close = ToRECT(skin::CaptionButton(client.right, skin::kCloseFromRight, scale_));
    if (closeButton_.Create(self, IDC_CLOSE, "", close, normalFont_.get(), 0)) {
        closeButton_.SetScale(scale_);
        closeButton_.SetCaptionButton(true);
        closeButton_.SetIcon(IDI_CLOSE);
        closeButton_.SetTheme(theme_);
    }
    result = OnInitDialog() ? TRUE : FALSE;
    return true;
}

bool ThemedDialog::NcPaint(UINT, WPARAM, LPARAM, LRESULT& result) {
    DrawWindowFrame(hwnd(), theme_, scale_);
    result = 0;
    return true;
}

bool ThemedDialog::NcActivate(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    ShowActivation(wParam != FALSE);
    result = TRUE;
    return true;
}

void ThemedDialog::ShowActivation(bool active) {
    DrawWindowFrame(hwnd(), theme_, scale_);
    titleBar_.SetActive(active);
    if (titleBar_.hwnd()) ::InvalidateRect(titleBar_.hwnd(), nullptr, FALSE);
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CMacButton* button = CMacButton::FromWindow(child);
        if (button) {
            RECT r;
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
            if (r.top < scale_.Px(skin::kTitleBarHeight)) ::InvalidateRect(child, nullptr, FALSE);
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

bool ThemedDialog::Resized(UINT, WPARAM, LPARAM, LRESULT&) {
    LayoutCaption();
    return false;
}

bool ThemedDialog::TextChanged(UINT, WPARAM, LPARAM, LRESULT&) {
    // The caption shows the new text at its next paint.
    if (titleBar_.hwnd()) ::InvalidateRect(titleBar_.hwnd(), nullptr, FALSE);
    return false;
}

bool ThemedDialog::InDragStrip(LPARAM point) const {
    return PointOf(point).y < scale_.Px(dragStrip_) && PointOf(point).y >= 0;
}

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
