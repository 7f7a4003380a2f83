#include "skin/quick_preview_pane_win32.h"

#include <utility>

#include "skin/paint_win32.h"
#include "view/preview_layout.h"

namespace quorv::win {
namespace {

const char kHostClass[] = "QuorvPreviewHost";

// The players' windows: the control hosting attaches a control to each.
bool RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSEXA host{};
        host.cbSize = sizeof host;
        host.lpfnWndProc = ::DefWindowProcA;
        host.hInstance = ::GetModuleHandleA(nullptr);
        host.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        host.lpszClassName = kHostClass;
        // A player's area is black until the player draws into it.
        host.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        return ::RegisterClassExA(&host) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

QuickPreviewPane::QuickPreviewPane() : background_(::GetSysColor(COLOR_BTNFACE)) {}

QuickPreviewPane::~QuickPreviewPane() {
    events_ = Events{};  // the owner may be gone already
    Destroy();
}

void QuickPreviewPane::Destroy() {
    // WM_DESTROY still reaches the owner; WM_NCDESTROY detaches.
    if (HWND pane = hwnd()) ::DestroyWindow(pane);
}

bool QuickPreviewPane::Create(HWND parent, const RECT& frame, bool visible, Events events) {
    if (hwnd()) return true;
    if (!RegisterControlClass(kQuickPreviewPaneClass) || !RegisterHostClass()) return false;
    events_ = std::move(events);
    const RECT r = ToRECT(PreviewPaneRect(FromRECT(frame)));
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    if (!CreateChild(parent, kQuickPreviewPaneClass, L"", style, r, kQuickPreviewPaneId)) return false;
    KeepAboveFrame();
    return true;
}

void QuickPreviewPane::Place(const RECT& frame) {
    if (!hwnd()) return;
    const RECT r = ToRECT(PreviewPaneRect(FromRECT(frame)));
    ::MoveWindow(hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    KeepAboveFrame();
    FillWithChildren();
}

void QuickPreviewPane::KeepAboveFrame() {
    // Made after the dialog's controls, the pane would lie below its frame,
    // and a group box paints over the siblings below it.
    ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void QuickPreviewPane::FillWithChildren() {
    if (!hwnd()) return;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
    Invalidate();
}

void QuickPreviewPane::SetPicture(ComPtr<IPicture> picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void QuickPreviewPane::SetBackground(COLORREF colour) {
    background_ = colour;
    Invalidate();
}

HWND QuickPreviewPane::CreateHost(DWORD style) {
    if (!hwnd() || !RegisterHostClass()) return nullptr;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    return ::CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style, 0, 0,
                             client.right, client.bottom, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kQuickPreviewPaneId)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

void QuickPreviewPane::PaintContent(HDC dc, const RECT& rect) const {
    Brush back(::CreateSolidBrush(background_));
    ::FillRect(dc, &rect, back ? back.get() : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    if (FAILED(picture_->get_Width(&hmWidth)) || FAILED(picture_->get_Height(&hmHeight))) return;
    // The picture's size in pixels of this device.
    const int width = ::MulDiv(hmWidth, ::GetDeviceCaps(dc, LOGPIXELSX), 2540);
    const int height = ::MulDiv(hmHeight, ::GetDeviceCaps(dc, LOGPIXELSY), 2540);
    const Rect drawn = FitPicture(width, height, FromRECT(rect));
    if (drawn.width() <= 0 || drawn.height() <= 0) return;
    const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    ::SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    picture_->Render(dc, drawn.left, drawn.top, drawn.width(), drawn.height(), 0, hmHeight, hmWidth, -hmHeight,
                     &rect);
    ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode != 0) ::SetStretchBltMode(dc, oldMode);
}

RowTable<MessageRow<QuickPreviewPane>> QuickPreviewPane::Messages() {
    static constexpr MessageRow<QuickPreviewPane> kRows[] = {
        {WM_SIZE, &QuickPreviewPane::OnSize},
        {WM_TIMER, &QuickPreviewPane::OnTimer},
        {WM_DESTROY, &QuickPreviewPane::OnDestroy},
    };
    return Table(kRows);
}

bool QuickPreviewPane::OnSize(UINT, WPARAM, LPARAM, LRESULT& result) {
    FillWithChildren();
    result = 0;
    return true;
}

bool QuickPreviewPane::OnTimer(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    if (events_.timer) events_.timer(static_cast<UINT_PTR>(wParam));
    result = 0;
    return true;
}

bool QuickPreviewPane::OnDestroy(UINT, WPARAM, LPARAM, LRESULT& result) {
    if (events_.destroying) events_.destroying();
    picture_.reset();
    result = 0;
    return true;
}

}  // namespace quorv::win
