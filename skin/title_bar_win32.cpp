#include "skin/title_bar_win32.h"

#include <string>

#include "skin/paint_win32.h"
#include "skin/skin_ids.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {

TitleBar::~TitleBar() {
    if (HWND bar = hwnd()) {
        Detach();
        ::DestroyWindow(bar);
    }
}

HWND TitleBar::CreateTitleBar(HWND parent, const RECT& rect) {
    if (HWND old = hwnd()) {
        Detach();
        ::DestroyWindow(old);
    }
    HWND bar = CreateChild(parent, L"static", L"", WS_CHILD | WS_VISIBLE, rect, IDC_TITLE_BAR);
    if (!bar) return nullptr;
    font_.reset(::CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Verdana"));
    icon_.reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM),
                                                IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    active_ = ::GetActiveWindow() == parent;
    return bar;
}

void TitleBar::OnDetached() {
    font_.reset();
    icon_.reset();
}

void TitleBar::SetTheme(int theme) {
    theme_ = theme;
    Invalidate();
}

void TitleBar::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    Invalidate();
}

void TitleBar::Move(const RECT& rect) {
    if (hwnd()) ::MoveWindow(hwnd(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// The caption buttons lie over the band: their places are left alone,
// whichever of the two is higher in the z-order. A printed picture (not
// the bar's own window DC) is whole.
bool TitleBar::PreparePaint(HDC target) const {
    if (theme_ < 0) return false;
    HWND bar = hwnd();
    if (::WindowFromDC(target) != bar) return true;
    RECT client;
    ::GetClientRect(bar, &client);
    for (HWND sibling = ::GetWindow(::GetParent(bar), GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == bar || !::IsWindowVisible(sibling)) continue;
        RECT r;
        ::GetWindowRect(sibling, &r);
        ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
        RECT overlap;
        if (::IntersectRect(&overlap, &r, &client)) {
            ::ExcludeClipRect(target, overlap.left, overlap.top, overlap.right, overlap.bottom);
        }
    }
    return true;
}

void TitleBar::PaintContent(HDC dc, const RECT& rect) const {
    if (theme_ < 0) return;
    // The bands, across the whole width.
    for (const skin::Band& band : skin::TitleBarBands(rect.top, rect.bottom, theme_)) {
        FillSolid(dc, RECT{rect.left, band.top, rect.right, band.bottom}, band.colour);
    }
    if (icon_) ::DrawIconEx(dc, rect.left + 7, rect.top + 4, icon_.get(), 16, 16, 0, nullptr, DI_NORMAL);
    // The parent's text as the caption, over its shadow.
    HWND parent = hwnd() ? ::GetParent(hwnd()) : nullptr;
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

}  // namespace quorv::win
