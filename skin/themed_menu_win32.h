#pragma once
// The themed popup menu: every item owner-drawn in the theme's colours,
// with an optional 16 by 16 icon or a drawn tick per item.
//
//   ThemedMenu help;                                  // a member of the window
//   help.SetFont(font); help.SetWidth(130);           // the main window's menus
//   help.AppendThemedItem(IDM_ABOUT, "About...");
//   help.LoadItemIcon(IDM_ABOUT, 137);
//   help.SetTheme(theme);
//   help.Track(hwnd(), ThemedMenu::BelowLeft(Item(IDC_HELP)));   // on the button's click
//
// The owner window (the one given to Track) receives WM_MEASUREITEM and
// WM_DRAWITEM with CtlType ODT_MENU and passes them on:
//   if (item.CtlType == ODT_MENU && (help.MeasureItem(item) || themes.MeasureItem(item))) ...
// The chosen command arrives as WM_COMMAND (id, code 0) at the owner.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "platform/raii_win32.h"
#include "view/scale.h"
#include "view/theme.h"

namespace quorv::win {

class ThemedMenu {
public:
    static constexpr int kDefaultItemHeight = 24;
    static constexpr int kSeparatorHeight = 12;
    static constexpr int kIconSize = 16;

    ThemedMenu();
    ThemedMenu(const ThemedMenu&) = delete;
    ThemedMenu& operator=(const ThemedMenu&) = delete;

    HMENU handle() const { return menu_.get(); }

    void AppendThemedItem(UINT id, const std::string& text);
    void AppendSeparator();
    // The icon is not owned: it must live as long as the menu shows it.
    void SetItemIcon(UINT id, HICON icon);
    // Loads a 16 by 16 icon resource (at 96 DPI; the size at the menu's
    // scale) and keeps it with the menu.
    bool LoadItemIcon(UINT id, int resourceId, HINSTANCE module = nullptr);
    void CheckItem(UINT id, bool checked);
    bool IsChecked(UINT id) const;
    // Checks id and clears the check of every other item in [first, last].
    void CheckOnly(UINT first, UINT last, UINT id);
    void EnableItem(UINT id, bool enabled);
    const std::string* ItemText(UINT id) const;

    // Background colour 2, selection fill colour 3, selection frame colour
    // 4 lightened by 40.
    void SetTheme(int theme);
    // Not owned: the owner window's font. Without one the menu's DC font is used.
    void SetFont(HFONT font) { font_ = font; }
    // The owner window's display scale: every length of the menu (given
    // for 96 DPI) follows it, and the loaded icons are loaded again.
    void SetScale(Scale scale);
    Scale scale() const { return scale_; }
    // Lengths at 96 DPI.
    void SetItemHeight(int height) { itemHeight_ = height; }
    // 0: as wide as the widest text + 26 (with icons) or 22.
    void SetWidth(int width) { width_ = width; }
    bool HasIcons() const { return !icons_.empty(); }

    // For the owner's WM_MEASUREITEM / WM_DRAWITEM of ODT_MENU items: true
    // when the item belongs to this menu (and was measured or drawn).
    bool MeasureItem(MEASUREITEMSTRUCT& item) const;
    bool DrawItem(const DRAWITEMSTRUCT& item) const;
    // The width every item gets.
    int MenuWidth() const;
    // For the owner's WM_MENUCHAR (owner-drawn items have no mnemonics of
    // their own): the item whose text begins with the typed character,
    // letter case ignored. One such item is chosen (MNC_EXECUTE); of several,
    // the next after the highlighted one is highlighted (MNC_SELECT). 0 when
    // the menu is another one or no text begins with the character.
    LRESULT MenuChar(char typed, HMENU menu) const;

    // Opens the menu with its top-left corner at a screen point; the chosen
    // command is sent to the owner as WM_COMMAND. flags are added to
    // TPM_LEFTALIGN | TPM_TOPALIGN (TPM_RETURNCMD returns the command instead).
    UINT Track(HWND owner, POINT screenPoint, UINT flags = 0) const;
    // The lower-left corner of a window (a button) in screen coordinates.
    static POINT BelowLeft(HWND window);

private:
    struct Entry {
        std::string text;
    };
    bool Owns(UINT id, ULONG_PTR data) const;
    void DrawMark(HDC dc, const RECT& rect, HICON icon, bool checked) const;

    MenuHandle menu_;
    std::map<UINT, Entry> items_;
    std::map<UINT, IconHandle> ownedIcons_;
    std::map<UINT, std::pair<int, HINSTANCE>> iconResources_;  // of the owned icons
    std::map<UINT, HICON> icons_;
    HFONT font_ = nullptr;
    Scale scale_;
    int itemHeight_ = kDefaultItemHeight;
    int width_ = 0;
    bool themed_ = false;
    Colour background_ = 0xFFFFFF;
    Colour fill_ = 0xC89664;
    Colour frame_ = 0xFADCB4;
};

}  // namespace quorv::win
