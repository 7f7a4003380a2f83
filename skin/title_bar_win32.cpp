#include "skin/title_bar_win32.h"

#include <commctrl.h>

#include <string>

#include "skin/paint_win32.h"
#include "skin/skin_ids.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {
namespace {

// The window property that leads from a window to its object.
constexpr const char* kProperty = "Quorv.TitleBar";
constexpr UINT_PTR kSubclassId = 0x5442;

}  // namespace

TitleBar::~TitleBar() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    Detach();
}

HWND TitleBar::CreateTitleBar(HWND parent, const RECT& rect) {
    if (hwnd_) ::DestroyWindow(hwnd_);
    Detach();
    HWND bar = ::CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_BAR)),
                                 ::GetModuleHandleA(nullptr), nullptr);
    if (!bar) return nullptr;
    if (!::SetWindowSubclass(bar, &TitleBar::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        ::DestroyWindow(bar);
        return nullptr;
    }
    hwnd_ = bar;
    ::SetPropA(bar, kProperty, this);
    font_.reset(::CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Verdana"));
    icon_.reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM),
                                                IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    active_ = ::GetActiveWindow() == parent;
    return bar;
}

void TitleBar::Detach() {
    if (hwnd_) {
        ::RemoveWindowSubclass(hwnd_, &TitleBar::SubclassProc, kSubclassId);
        ::RemovePropA(hwnd_, kProperty);
        hwnd_ = nullptr;
    }
    font_.reset();
    icon_.reset();
}

TitleBar* TitleBar::FromWindow(HWND window) {
    return window ? static_cast<TitleBar*>(::GetPropA(window, kProperty)) : nullptr;
}

void TitleBar::SetTheme(int theme) {
    theme_ = theme;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void TitleBar::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void TitleBar::Move(const RECT& rect) {
    if (hwnd_) ::MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void TitleBar::PaintContent(HDC dc, const RECT& rect) const {
    if (theme_ < 0) return;
    // 1. The bands, across the whole width.
    for (const skin::Band& band : skin::TitleBarBands(rect.top, rect.bottom, theme_)) {
        const RECT r{rect.left, band.top, rect.right, band.bottom};
        FillSolid(dc, r, band.colour);
    }
    // 2. The program icon.
    if (icon_) ::DrawIconEx(dc, rect.left + 7, rect.top + 4, icon_.get(), 16, 16, 0, nullptr, DI_NORMAL);
    // 3. The caption, its shadow first.
    HWND parent = hwnd_ ? ::GetParent(hwnd_) : nullptr;
    const std::string caption = parent ? WindowText(parent) : std::string();
    if (caption.empty()) return;
    const skin::CaptionColours colours = skin::CaptionColoursFor(theme_, active_);
    SelectGuard f(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT;
    RECT shadow = rect;
    ::OffsetRect(&shadow, 30, 1);
    ::SetTextColor(dc, colours.shadow);
    DrawTextNarrow(dc, caption, shadow, format);
    RECT text = rect;
    ::OffsetRect(&text, 29, -1);
    ::SetTextColor(dc, colours.text);
    DrawTextNarrow(dc, caption, text, format);
}

LRESULT CALLBACK TitleBar::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<TitleBar*>(data);
    return GuardedHandle(window, message, wParam, lParam, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT TitleBar::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    switch (message) {
    case WM_PAINT: {
        PaintDc dc(window);
        RECT client;
        ::GetClientRect(window, &client);
        // The caption buttons lie over the band: leave their places alone,
        // whichever of the two is higher in the z-order.
        HWND parent = ::GetParent(window);
        for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
            if (sibling == window || !::IsWindowVisible(sibling)) continue;
            RECT r;
            ::GetWindowRect(sibling, &r);
            ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            RECT overlap;
            if (::IntersectRect(&overlap, &r, &client)) {
                ::ExcludeClipRect(dc.get(), overlap.left, overlap.top, overlap.right, overlap.bottom);
            }
        }
        if (theme_ >= 0) PaintDoubleBuffered(dc.get(), client, [this](HDC d, const RECT& r) { PaintContent(d, r); });
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        ::GetClientRect(window, &client);
        if (theme_ >= 0) {
            PaintDoubleBuffered(reinterpret_cast<HDC>(wParam), client,
                                [this](HDC d, const RECT& r) { PaintContent(d, r); });
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorv::win
