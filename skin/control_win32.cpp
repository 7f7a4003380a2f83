#include "skin/control_win32.h"

#include "system/system_access.h"

namespace quorv::win {

bool RegisterControlClass(const wchar_t* className, UINT style, const wchar_t* cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &::DefWindowProcW;
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
