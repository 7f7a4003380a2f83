// Test helper for the setup tests: stands in for the system's icacls.exe
// while the setup runs (Wine's own does nothing), and appends each command
// line it is started with, as UTF-8, to the file that the environment
// variable QUORV_ICACLS_LOG names. Changes no access list; status 0.
#include <windows.h>

#include <string>

#include "platform/raii_win32.h"

int main() {
    wchar_t log[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"QUORV_ICACLS_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 0;
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return 0;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, &text[0], size, nullptr, nullptr);
    text.back() = '\n';  // in place of the terminating zero
    quorv::win::FileHandle file(CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return 0;
}
