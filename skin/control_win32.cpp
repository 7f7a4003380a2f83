#include "skin/control_win32.h"

#include "system/system_access.h"

namespace quorv::win {
namespace {

// The system's default handling in a procedure of our own: Wine takes
// DefWindowProcW itself for a procedure of either character set, and a
// window of such a class made by a narrow call (a control of a dialog
// template loaded with DialogBoxParamA) is then a narrow window whose text
// messages arrive narrow. Registered wide, this one makes every window of
// the class a wide one, as on Windows.
LRESULT CALLBACK DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterControlClass(const wchar_t* className, UINT style, const wchar_t* cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &DefaultProcedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, cursor ? cursor : MAKEINTRESOURCEW(32512));  // the arrow
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void LogControlFailure(UINT message) noexcept {
    try {
        WriteErrorLog("Unexpected failure while a control handled window message 0x%x.", message);
    } catch (...) {
        // The log itself failed: nothing more can be done here.
    }
}

}  // namespace quorv::win
