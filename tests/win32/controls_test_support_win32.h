#pragma once
// Shared pieces of the drawn-control tests: a dialog from a real template
// that passes owner drawing on to its controls and menus, message pumping,
// pixels of a window drawn through WM_PRINTCLIENT, held modifier keys and
// screenshots of the virtual display.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "skin/dialog_win32.h"
#include "skin/result_view_win32.h"
#include "skin/themed_list_win32.h"
#include "skin/themed_menu_win32.h"
#include "tests/win32/controls_test_resource.h"

namespace quorv::win::test {

class TestDialog : public Dialog {
public:
    TestDialog();
    ~TestDialog() override;

    ThemedList files;
    ThemedList favourites;
    ThemedList rules;
    ResultView resultView;
    // Menus whose owner-drawn items this dialog passes on.
    std::vector<ThemedMenu*> menus;
    // WM_COMMAND ids received (menu commands and control notifications).
    std::vector<std::pair<int, int>> commands;  // id, code
    int menuMeasures = 0;
    int menuDraws = 0;
    // The brush the result view gets through WM_CTLCOLORSTATIC.
    Colour staticBackground = 0xE0DFE3;
    Colour staticText = 0x000000;

protected:
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    Brush staticBrush_;
};

// Dispatches messages for the given time (and at least once).
void Pump(int milliseconds = 0);
// Dispatches until the condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 5000);

// A window's client area drawn by WM_PRINTCLIENT into a 32-bit bitmap.
class ClientPixels {
public:
    explicit ClientPixels(HWND window);
    COLORREF At(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels of the colour in the rectangle.
    int Count(COLORREF colour, const RECT& area) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> bits_;
};

// Holds Shift and/or Ctrl in this thread's keyboard state (what GetKeyState
// reads) for its lifetime.
class HeldKeys {
public:
    HeldKeys(bool shift, bool control);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256];
};

// Sends a key press (WM_KEYDOWN, WM_KEYUP) with the modifiers held.
void PressKey(HWND window, WPARAM key, bool shift = false, bool control = false);

// Saves the whole display as <build>/screenshots/<name>.png (ImageMagick's
// import run as a program of the host); false when that failed.
bool SaveScreenshot(const std::string& name);

// The text on the clipboard (CF_TEXT); empty when there is none.
std::string ClipboardText();

}  // namespace quorv::win::test
