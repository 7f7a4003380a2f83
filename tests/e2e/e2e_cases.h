#pragma once
// What the end-to-end cases share: the program's status texts, the theme
// colours the cases look for on the screen, and small helpers.
#include <windows.h>

#include <string>
#include <vector>

#include "app/resource.h"
#include "tests/e2e/driver/e2e_files_win32.h"
#include "tests/e2e/driver/e2e_program_win32.h"
#include "tests/e2e/driver/e2e_screen_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {

inline const char kFileListNullStatus[] =
    "The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list.";
inline const char kRuleListNullStatus[] =
    "The Rule list is NULL. Please use the \"Rules builder\" to add rules or select one from the \"Favorite "
    "rules\".";
inline const char kRenamedStatus[] = "Files have been renamed. You can use \"Undo\" to cancel this change.";
inline std::string ReadyStatus(int files) {
    return std::to_string(files) + " file(s) are ready for batch renaming.";
}

// Themes by index, as the theme menu lists them.
enum Theme { kBlack = 0, kSky, kLime, kOrange, kLicorice, kSilver, kBlue, kGreen, kDarkBlue, kDarkGreen, kSilverWhite };
inline const char* const kThemeNames[] = {"Black", "Sky",       "Lime",       "Orange",    "Licorice",     "Silver",
                                          "Blue",  "Green",     "Dark Blue",  "Dark Green", "Silver White"};

// Colour 5 of each theme (0x00BBGGRR): the title bar starts from it.
inline const COLORREF kTitleColour[] = {0xB7B9B9, 0xFFEBE7, 0x9CD79C, 0x6EC8FF, 0xE7ADAD, 0xD4D1CF,
                                        0xFFBEB4, 0xA0D7D2, 0xD5BEB0, 0xBAD0B9, 0xFAFAFA};
// Colour 1 of each theme: the window's background.
inline const COLORREF kBackgroundColour[] = {0xE3E5E5, 0xF0E8E6, 0xE6F2E2, 0xDCEBF5, 0xEEE1DF, 0xE3DFE0,
                                             0xEBE1DF, 0xD8E9EC, 0xE6DCDB, 0xDCE6DB, 0xEDEDED};

// Colour 2 of each theme: the background of the menus' items.
inline const COLORREF kMenuColour[] = {0xF3F6F6, 0xFFF8F6, 0xF1FFF1, 0xEBF5FF, 0xFFF6F3, 0xF6F1F3,
                                       0xFFF5F3, 0xF0FFFF, 0xFFF0EF, 0xF5FFF3, 0xFFFFFF};

// Colour 3 of each theme: frames, pressed buttons, the progress bar.
inline const COLORREF kFrameColour[] = {0xB7B9B9, 0xF0D3CF, 0x9CD79C, 0x6EC8FF, 0xE7ADAD, 0xD1C7C5,
                                        0xFFBEB4, 0xA0D7D2, 0xD5BEB0, 0xBAD0B9, 0xDEDEDE};

// The first two rows of the title bar: colour 5 darkened by 6.
inline COLORREF TitleBandColour(int theme) {
    const COLORREF c = kTitleColour[theme];
    const auto darker = [](int v) { return v >= 6 ? v - 6 : 0; };
    return RGB(darker(GetRValue(c)), darker(GetGValue(c)), darker(GetBValue(c)));
}

// The screen pixel of the title bar's first row in the middle of the window.
inline COLORREF TitleBandPixel(const Program& program) {
    const RECT client = program.main().ClientOnScreen();
    return ScreenPixel(POINT{(client.left + client.right) / 2, client.top});
}

// The theme whose title bar the window shows, -1 when none.
inline int ShownTheme(const Program& program) {
    const COLORREF pixel = TitleBandPixel(program);
    for (int theme = 0; theme <= kSilverWhite; ++theme)
        if (pixel == TitleBandColour(theme)) return theme;
    return -1;
}

// The menus of the main window: items of 24 pixels, centred in the menu's
// client area.
inline constexpr int kMenuItemHeight = 24;
inline POINT MenuItemCentre(const Window& menu, int item, int items) {
    const RECT client = menu.ClientOnScreen();
    const int margin = ((client.bottom - client.top) - items * kMenuItemHeight) / 2;
    return POINT{(client.left + client.right) / 2, client.top + margin + item * kMenuItemHeight + kMenuItemHeight / 2};
}

// Opens the menu of a button with a click on the button, and waits until
// the menu shows on the screen: the right end of its first item has the
// theme's menu colour. Empty when it did not.
inline Window OpenMenu(const Program& program, int button, int items, int theme) {
    if (!program.MouseClick(button)) return Window();
    const Window menu = program.WaitForMenu();
    if (!menu) return Window();
    const RECT client = menu.ClientOnScreen();
    const POINT first = MenuItemCentre(menu, 0, items);
    const bool shown = WaitFor([&] { return ScreenPixel(POINT{client.right - 4, first.y}) == kMenuColour[theme]; }, 3000);
    return shown ? menu : Window();
}

// The items of an open menu (without icons) whose mark area, left of their
// text, is not plain menu colour: the checked items.
inline std::vector<int> MarkedMenuItems(const Window& menu, int items, int theme) {
    const RECT client = menu.ClientOnScreen();
    const ScreenImage image(client);
    std::vector<int> marked;
    for (int item = 0; item < items; ++item) {
        const POINT centre = MenuItemCentre(menu, item, items);
        // The mark's box: 14 pixels from 4 pixels into the item; the text starts at 22.
        const int margin = ((client.bottom - client.top) - items * kMenuItemHeight) / 2;
        const RECT markArea{client.left + margin + 2, centre.y - 9, client.left + margin + 20, centre.y + 9};
        if (image.CountOtherThan(kMenuColour[theme], markArea) > 0) marked.push_back(item);
    }
    return marked;
}

// Chooses a theme from the theme menu with the mouse, as a user does.
inline bool ChooseTheme(const Program& program, int current, int theme) {
    const Window menu = OpenMenu(program, IDC_THEME, kSilverWhite + 1, current);
    if (!menu) return false;
    MouseClickAt(MenuItemCentre(menu, theme, kSilverWhite + 1));
    return program.Settle() && WaitFor([&] { return !menu; }, 3000);
}

// How far the bar of the wait window ("Please Wait...") is filled, in
// pixels of its lower half: the bar is drawn from (20, 90) to (280, 110) in
// colour 3 darkened by 25.
inline int WaitBarPixels(const Window& wait, int theme) {
    const COLORREF c = kFrameColour[theme];
    const auto darker = [](int v) { return v >= 25 ? v - 25 : 0; };
    const COLORREF bar = RGB(darker(GetRValue(c)), darker(GetGValue(c)), darker(GetBValue(c)));
    const RECT client = wait.ClientOnScreen();
    const RECT row{client.left + 22, client.top + 106, client.left + 278, client.top + 107};
    const ScreenImage image(row);
    return (row.right - row.left) - image.CountOtherThan(bar, row);
}

// The names (the text after the last backslash) of list entries.
inline std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(NameOf(path));
    return names;
}

// Makes files with these names in a folder; their full paths.
inline std::vector<std::string> MakeFiles(const ProgramFolder& folder, const std::string& subfolder,
                                          const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(folder.MakeFile(subfolder + "\\" + name, name));
    return paths;
}

}  // namespace quorv::e2e
