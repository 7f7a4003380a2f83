#include "tests/win32/controls_test_support_win32.h"

#include <cstring>

namespace quorv::win::test {

TestDialog::TestDialog() = default;

TestDialog::~TestDialog() {
    if (hwnd()) ::DestroyWindow(hwnd());
}

bool TestDialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        files.Attach(Item(IDC_TEST_FILES));
        favourites.Attach(Item(IDC_TEST_FAVOURITES));
        rules.Attach(Item(IDC_TEST_RULES));
        resultView.Attach(Item(IDC_TEST_RESULT));
        result = TRUE;
        return true;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU) {
            for (ThemedMenu* menu : menus) {
                if (menu->MeasureItem(item)) {
                    ++menuMeasures;
                    result = TRUE;
                    return true;
                }
            }
            return false;
        }
        // What the themed dialog does: the control answers.
        HWND control = Item(static_cast<int>(wParam));
        if (!control) return false;
        result = ::SendMessageA(control, kReflectBase + message, wParam, lParam);
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU) {
            for (ThemedMenu* menu : menus) {
                if (menu->DrawItem(item)) {
                    ++menuDraws;
                    result = TRUE;
                    return true;
                }
            }
            return false;
        }
        result = ::SendMessageA(item.hwndItem, kReflectBase + message, wParam, lParam);
        return true;
    }
    case WM_CTLCOLORLISTBOX: {
        HWND list = reinterpret_cast<HWND>(lParam);
        for (ThemedList* l : {&files, &favourites, &rules}) {
            if (l->hwnd() == list) {
                result = reinterpret_cast<LRESULT>(l->BackgroundBrush());
                return true;
            }
        }
        return false;
    }
    case WM_CTLCOLORSTATIC: {
        if (!staticBrush_) staticBrush_.reset(::CreateSolidBrush(staticBackground));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), staticText);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), staticBackground);
        result = reinterpret_cast<LRESULT>(staticBrush_.get());
        return true;
    }
    case WM_MENUCHAR:
        for (ThemedMenu* menu : menus) {
            if (const LRESULT r = menu->MenuChar(static_cast<char>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam))) {
                result = r;
                return true;
            }
        }
        return false;
    case WM_VKEYTOITEM:
        // The list's own handling of the key (0 would move it to item 0).
        result = -1;
        return true;
    case WM_COMMAND:
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        result = 0;
        return true;
    default:
        return Dialog::Route(message, wParam, lParam, result);
    }
}

HeldKeys::HeldKeys(bool shift, bool control) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_LSHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_LCONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(saved_); }

void PressKey(HWND window, WPARAM key, bool shift, bool control) {
    HeldKeys held(shift, control);
    ::SendMessageA(window, WM_KEYDOWN, key, 1);
    ::SendMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace quorv::win::test
