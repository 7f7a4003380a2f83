// Stands in for the programs the shell opens web pages and the manual with
// (the browser, the help viewer) in the end-to-end cases: registered as the
// opener of https, http and the manual's file type in the test prefix, it
// appends the command line it was started with (UTF-8, one a line) to
// "opened.txt" beside itself and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring module(32768, L'\0');
    module.resize(GetModuleFileNameW(nullptr, &module[0], static_cast<DWORD>(module.size())));
    const std::wstring record = module.substr(0, module.find_last_of(L'\\') + 1) + L"opened.txt";
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &bytes[0], n, nullptr, nullptr);
    // Two openers started at once take turns.
    for (int attempt = 0; attempt < 200; ++attempt) {
        const HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(10);
            continue;
        }
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return 0;
    }
    return 1;
}
