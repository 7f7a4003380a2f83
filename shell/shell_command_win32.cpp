// The context-menu extension's work outside COM: the install folder, the
// selected paths, the handoff file and the start of the main program.
#include "shell/shell_command_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "formats/handoff_format.h"
#include "platform/raii_win32.h"
#include "shell/shell_module_win32.h"

namespace quorv::shell {

namespace {

constexpr const wchar_t* kInstallKey = L"SOFTWARE\\Quorvane 2";

// How long a write waits for another process (a starting main program
// reading the file) to let go of the handoff file: attempts x delay.
constexpr int kOpenAttempts = 40;
constexpr DWORD kOpenRetryDelayMs = 25;

// The names of the install folder's files are plain ASCII, so each byte is
// its own UTF-16 unit. The DLL links none of the program's libraries (it is
// loaded into the file manager), so it does not take the program's
// conversion of narrow text; no other narrow text reaches the wide calls.
std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

std::wstring InFolder(const std::wstring& folder, const char* name) {
    return folder + L"\\" + Widen(name);
}

// A path the file functions accept beyond MAX_PATH characters: absolute
// drive and network paths that long get the "\\?\" form.
std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (got == 0 || got >= needed) return path;
    full.resize(got);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return path;
}

bool IsTransientOpenError(DWORD error) {
    // Another process holds the file, or it is being deleted.
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

bool ReadWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], chunk, &got, nullptr)) return false;
        if (got == 0) break;  // shorter than it said: keep what is there
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool WriteWhole(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::wstring ReadInstallFolder() {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::wstring();
    const win::RegKey key(raw);
    // The value may change between asking for its size and reading it: ask
    // again rather than read into a buffer that is too small.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::wstring();
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring();
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG error = RegQueryValueExW(key.get(), nullptr, nullptr, &type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (error == ERROR_MORE_DATA) continue;
        if (error != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::wstring();
        std::wstring folder(buffer.data(), got / sizeof(wchar_t));
        const std::size_t zero = folder.find(L'\0');
        if (zero != std::wstring::npos) folder.resize(zero);
        return folder;
    }
    return std::wstring();
}

std::string HandoffTextOfPath(std::wstring_view path) {
    if (path.empty() || path.size() > 0x1FFFFFFF) return std::string();
    const int length = static_cast<int>(path.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, path.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string text(static_cast<std::size_t>(needed), '\0');
    const int got = WideCharToMultiByte(CP_UTF8, 0, path.data(), length, &text[0], needed, nullptr, nullptr);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

void AppendDropPaths(HDROP drop, std::string& text) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT got = DragQueryFileW(drop, i, &path[0], length + 1);
        path.resize(got <= length ? got : length);
        AppendHandoffEntry(text, HandoffTextOfPath(path));
    }
}

bool WriteHandoffFile(const std::wstring& path, std::string_view text) {
    const std::wstring target = LongPathForm(path);
    win::FileHandle file;
    for (int attempt = 1;; ++attempt) {
        file.reset(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) break;
        if (!IsTransientOpenError(GetLastError()) || attempt >= kOpenAttempts) return false;
        Sleep(kOpenRetryDelayMs);
    }
    // Entries of a file that no main program has read yet stay in front.
    std::string existing;
    if (!ReadWhole(file.get(), existing)) return false;
    LARGE_INTEGER kept{};
    kept.QuadPart = static_cast<LONGLONG>(HandoffKeptLength(existing));
    if (!SetFilePointerEx(file.get(), kept, nullptr, FILE_BEGIN)) return false;
    if (!WriteWhole(file.get(), text)) return false;
    return SetEndOfFile(file.get()) != FALSE;
}

bool StartProgram(const std::wstring& path) {
    // The application name is given, so nothing is searched: a path with
    // spaces can never start another program named by its first words.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    const win::FileHandle processHandle(process.hProcess);
    const win::FileHandle threadHandle(process.hThread);
    return true;
}

void RunMenuCommand(std::string_view selection) {
    std::wstring folder = ReadInstallFolder();
    if (folder.empty()) folder = ThisModuleFolder();
    if (folder.empty()) return;
    if (!WriteHandoffFile(InFolder(folder, kHandoffFileName), selection)) return;
    StartProgram(InFolder(folder, kMainProgramFileName));
}

HMODULE InstallFolderModule() {
    const std::wstring folder = ReadInstallFolder();
    if (folder.empty()) return nullptr;
    return GetModuleHandleW(InFolder(folder, kShellExtensionFileName).c_str());
}

}  // namespace quorv::shell
