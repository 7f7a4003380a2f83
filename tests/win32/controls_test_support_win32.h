#pragma once
// Shared pieces of the drawn-control tests: a dialog from a real template
// that passes owner drawing on to its controls and menus, and held modifier
// keys; the message pump, pixels and screenshots come from the test
// support library.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "skin/dialog_win32.h"
#include "skin/result_view_win32.h"
#include "skin/themed_list_win32.h"
#include "skin/themed_menu_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/support/pixels_win32.h"
#include "tests/support/screenshot_win32.h"
#include "tests/win32/controls_test_resource.h"

namespace quorv::win::test {

using quorv::test::Canvas;
using quorv::test::kAsPainted;
using quorv::test::Printed;
using quorv::test::Pump;
using quorv::test::Screenshot;
using quorv::test::WaitFor;

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

// The text on the clipboard (CF_TEXT); empty when there is none.
std::string ClipboardText();

}  // namespace quorv::win::test
