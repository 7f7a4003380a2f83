#include "skin/themed_menu_win32.h"
#include "skin/paint_win32.h"

#include <algorithm>
#include <vector>

namespace quorv::win {
namespace {

// Text colours: the themes' menu backgrounds and selection fills are all
// light, so the text is black, and grey when the item is disabled.
constexpr COLORREF kMenuText = 0x000000;

}  // namespace

ThemedMenu::ThemedMenu() : menu_(::CreatePopupMenu()) {}

void ThemedMenu::AppendThemedItem(UINT id, const std::string& text) {
    items_[id].text = text;
    // An owner-drawn item carries this menu as its item data, so that the
    // owner can tell the menus apart.
    ::AppendMenuA(menu_.get(), MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(this));
}

void ThemedMenu::AppendSeparator() {
    ::AppendMenuA(menu_.get(), MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCSTR>(this));
}

void ThemedMenu::SetItemIcon(UINT id, HICON icon) {
    ownedIcons_.erase(id);
    iconResources_.erase(id);
    if (icon) {
        icons_[id] = icon;
    } else {
        icons_.erase(id);
    }
}

bool ThemedMenu::LoadItemIcon(UINT id, int resourceId, HINSTANCE module) {
    const int side = scale_.Px(kIconSize);
    IconHandle icon(static_cast<HICON>(::LoadImageA(module ? module : ::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(resourceId), IMAGE_ICON, side, side, 0)));
    if (!icon) return false;
    SetItemIcon(id, icon.get());
    ownedIcons_[id] = std::move(icon);
    iconResources_[id] = {resourceId, module};
    return true;
}

void ThemedMenu::SetScale(Scale scale) {
    if (scale == scale_) return;
    scale_ = scale;
    const auto resources = iconResources_;
    for (const auto& [id, resource] : resources) LoadItemIcon(id, resource.first, resource.second);
}

void ThemedMenu::CheckItem(UINT id, bool checked) {
    ::CheckMenuItem(menu_.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool ThemedMenu::IsChecked(UINT id) const {
    const UINT state = ::GetMenuState(menu_.get(), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void ThemedMenu::CheckOnly(UINT first, UINT last, UINT id) {
    for (UINT i = first; i <= last; ++i) CheckItem(i, i == id);
}

void ThemedMenu::EnableItem(UINT id, bool enabled) {
    ::EnableMenuItem(menu_.get(), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

const std::string* ThemedMenu::ItemText(UINT id) const {
    auto it = items_.find(id);
    return it == items_.end() ? nullptr : &it->second.text;
}

void ThemedMenu::SetTheme(int theme) {
    themed_ = true;
    background_ = GetThemeColour(theme, 2);
    fill_ = GetThemeColour(theme, 3);
    frame_ = AdjustColour(GetThemeColour(theme, 4), 40);
}

bool ThemedMenu::Owns(UINT, ULONG_PTR data) const { return data == reinterpret_cast<ULONG_PTR>(this); }

int ThemedMenu::MenuWidth() const {
    if (width_ > 0) return scale_.Px(width_);
    LONG widest = 0;
    bool anyText = false;
    WindowDc dc(nullptr);
    if (dc) {
        SelectGuard font(dc.get(), font_ ? font_ : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
        for (const auto& kv : items_) {
            if (kv.second.text.empty()) continue;
            anyText = true;
            const SIZE size = TextExtentNarrow(dc.get(), kv.second.text);
            widest = std::max(widest, size.cx);
        }
    }
    if (!anyText) return ::GetSystemMetrics(SM_CXMENUSIZE);
    return static_cast<int>(widest) + scale_.Px(HasIcons() ? 26 : 22);
}

bool ThemedMenu::MeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !Owns(item.itemID, item.itemData)) return false;
    const bool separator = items_.find(item.itemID) == items_.end();
    item.itemHeight = static_cast<UINT>(scale_.Px(separator ? kSeparatorHeight : itemHeight_));
    item.itemWidth = static_cast<UINT>(MenuWidth());
    return true;
}

bool ThemedMenu::DrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || !Owns(item.itemID, item.itemData)) return false;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    Brush background(::CreateSolidBrush(themed_ ? background_ : ::GetBkColor(dc)));
    auto found = items_.find(item.itemID);
    if (found == items_.end()) {
        // A separator: an etched line across the middle of its 12 pixels.
        const int height = scale_.Px(kSeparatorHeight);
        if (rect.bottom - rect.top > height) rect.top = rect.bottom - height;
        ::FillRect(dc, &rect, background.get());
        rect.top += scale_.Px(5);
        rect.left += scale_.Px(6);
        rect.right -= scale_.Px(6);
        ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP);
        return true;
    }
    const Entry& entry = found->second;
    RECT textRect = rect;
    textRect.left += scale_.Px(HasIcons() ? 26 : 22);
    textRect.top += scale_.Px(2);
    SelectGuard font(dc, font_);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const COLORREF oldColour = ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : kMenuText);
    // Left-aligned on one line, vertically centred in the text rectangle.
    auto drawText = [&] {
        RECT r = textRect;
        DrawTextNarrow(dc, entry.text, r,
                       DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    };
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (item.itemAction & ODA_DRAWENTIRE) {
        ::FillRect(dc, &rect, background.get());
        drawText();
    }
    if (selected && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        const int line = scale_.Px(1);
        Brush fill(::CreateSolidBrush(fill_));
        FrameSolid(dc, rect, frame_, line);
        RECT inner = rect;
        ::InflateRect(&inner, -line, -line);
        ::FillRect(dc, &inner, fill.get());
        drawText();
    } else if (!selected && (item.itemAction & ODA_SELECT)) {
        ::FillRect(dc, &rect, background.get());
        drawText();
    }
    auto icon = icons_.find(item.itemID);
    DrawMark(dc, rect, icon == icons_.end() ? nullptr : icon->second, (item.itemState & ODS_CHECKED) != 0);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    return true;
}

void ThemedMenu::DrawMark(HDC dc, const RECT& rect, HICON icon, bool checked) const {
    const int height = rect.bottom - rect.top;
    const int left = rect.left + scale_.Px(4);
    if (HasIcons() && icon) {
        const int side = scale_.Px(kIconSize);
        ::DrawIconEx(dc, left, rect.top + (height - side) / 2, icon, side, side, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!checked) return;
    const int side = scale_.Px(14);
    const int boxTop = rect.top + (height - side) / 2;
    const RECT box{left, boxTop, left + side, boxTop + side};
    Brush background(::CreateSolidBrush(themed_ ? background_ : ::GetBkColor(dc)));
    ::FillRect(dc, &box, background.get());
    FrameSolid(dc, box, frame_, scale_.Px(1));
    // The tick: seven vertical lines, three pixels long (at 96 DPI; each
    // as wide and as long as those pixels at the scale).
    static const int kTops[7] = {6, 7, 8, 7, 6, 5, 4};
    for (int k = 0; k < 7; ++k) {
        const RECT line{box.left + scale_.Px(4 + k), box.top + scale_.Px(kTops[k]), box.left + scale_.Px(5 + k),
                        box.top + scale_.Px(kTops[k] + 3)};
        FillSolid(dc, line, frame_);
    }
}

LRESULT ThemedMenu::MenuChar(char typed, HMENU menu) const {
    if (menu != menu_.get()) return 0;
    char wanted[2] = {typed, 0};
    ::CharLowerA(wanted);
    const int count = ::GetMenuItemCount(menu_.get());
    std::vector<int> matches;
    int highlighted = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE;
        if (!::GetMenuItemInfoA(menu_.get(), static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fState & MFS_HILITE) highlighted = i;
        auto it = items_.find(info.wID);
        if (it == items_.end() || it->second.text.empty() || (info.fState & MFS_DISABLED)) continue;
        char first[2] = {it->second.text[0], 0};
        ::CharLowerA(first);
        if (first[0] == wanted[0]) matches.push_back(i);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
    for (int i : matches)
        if (i > highlighted) return MAKELRESULT(i, MNC_SELECT);
    return MAKELRESULT(matches[0], MNC_SELECT);
}

UINT ThemedMenu::Track(HWND owner, POINT screenPoint, UINT flags) const {
    return static_cast<UINT>(::TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | flags, screenPoint.x,
                                              screenPoint.y, 0, owner, nullptr));
}

POINT ThemedMenu::BelowLeft(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return POINT{r.left, r.bottom};
}

}  // namespace quorv::win
