// Stands in for Quorv2.exe in the tests of the context-menu extension: it
// records that it ran, from where, with which command line, and what the
// handoff file held when it started, in the folder the program reads it
// from (the program's own data folder: beside it, or the user's folder for
// the installed copy). The record is "ran-<process id>.txt" beside the
// executable: the module path and the command line (UTF-8, one a line),
// then the handoff file's bytes. It is written under another name first and
// renamed, so a reader never sees half a record.
#include <windows.h>

#include <string>

#include "formats/handoff_format.h"
#include "system/system_access.h"
#include "system/text_win32.h"

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring ModulePath() {
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
    buffer.resize(n);
    return buffer;
}

std::string ReadAll(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<none>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::wstring module = ModulePath();
    const std::wstring folder = module.substr(0, module.find_last_of(L'\\') + 1);
    const std::string record = Utf8(module) + "\n" + Utf8(GetCommandLineW()) + "\n" +
                               ReadAll(quorv::win::WideFromNarrow(quorv::DataFolder() + quorv::kHandoffFileName));
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring partial = folder + L"partial-" + id + L".tmp";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileW(partial.c_str(), (folder + L"ran-" + id + L".txt").c_str());
    return 0;
}
