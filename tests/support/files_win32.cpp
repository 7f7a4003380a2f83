#include "tests/support/files_win32.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "platform/raii_win32.h"

namespace quorv::test {

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string narrow(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], n, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring Widen(const std::string& text) { return ToWide(CP_ACP, text); }
std::string Narrow(const std::wstring& text) { return FromWide(CP_ACP, text); }
std::wstring FromUtf8(const std::string& text) { return ToWide(CP_UTF8, text); }
std::string Utf8(const std::wstring& text) { return FromWide(CP_UTF8, text); }

std::wstring Long(const std::wstring& path) {
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return path;
    return L"\\\\?\\" + path;
}

std::string HostToWindowsPath(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string SystemDriveRoot() {
    char windows[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryA(windows, MAX_PATH);
    return n >= 3 ? std::string(windows, 3) : std::string("C:\\");
}

namespace {

// A path as the system gets it: wide callers' paths in the "\\?\" form
// (names taken literally, any length), narrow callers' paths as given
// (normalised as the "A" functions do).
enum class Form { Long, AsGiven };

std::wstring System(const std::wstring& path, Form form) { return form == Form::Long ? Long(path) : path; }

// The path without a "\\?\" in front.
std::wstring Plain(const std::wstring& path) {
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

DWORD Attributes(const std::wstring& path, Form form) { return ::GetFileAttributesW(System(path, form).c_str()); }

bool IsFolderIn(const std::wstring& path, Form form) {
    const DWORD attributes = Attributes(path, form);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteBytesIn(const std::wstring& path, Form form, const std::string& bytes) {
    const win::FileHandle file(::CreateFileW(System(path, form).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(file.get(), bytes.data() + done, want, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}

bool MakeFoldersIn(const std::wstring& path, Form form) {
    const DWORD attributes = Attributes(path, form);
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2 && !MakeFoldersIn(path.substr(0, slash), form)) return false;
    return ::CreateDirectoryW(System(path, form).c_str(), nullptr) || IsFolderIn(path, form);
}

std::vector<std::wstring> NamesIn(const std::wstring& folder, Form form) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const win::FindHandle find(::FindFirstFileW(System(folder + L"\\*", form).c_str(), &found));
    if (!find) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find.get(), &found));
    return names;
}

// One pass over the tree: whatever can go now goes.
void RemoveOnce(const std::wstring& path) {
    const std::wstring system = Long(path);
    const DWORD attributes = ::GetFileAttributesW(system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(system.c_str());
        return;
    }
    // A link to a folder goes by itself, never what it leads to.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        for (const std::wstring& name : NamesIn(path, Form::Long)) RemoveOnce(path + L"\\" + name);
    ::RemoveDirectoryW(system.c_str());
}

}  // namespace

bool Exists(const std::wstring& path) { return Attributes(path, Form::Long) != INVALID_FILE_ATTRIBUTES; }
bool Exists(const std::string& path) { return Attributes(Widen(path), Form::AsGiven) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::wstring& path) { return IsFolderIn(path, Form::Long); }
bool IsFolder(const std::string& path) { return IsFolderIn(Widen(path), Form::AsGiven); }

std::optional<std::string> ReadBytes(const std::wstring& path) {
    const win::FileHandle file(::CreateFileW(Long(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) { return WriteBytesIn(path, Form::Long, bytes); }
bool WriteBytes(const std::string& path, const std::string& bytes) {
    return WriteBytesIn(Widen(path), Form::AsGiven, bytes);
}

bool MakeFolders(const std::wstring& path) { return MakeFoldersIn(Plain(path), Form::Long); }
bool MakeFolders(const std::string& path) { return MakeFoldersIn(Widen(path), Form::AsGiven); }

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names = NamesIn(folder, Form::Long);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::wstring& name : NamesIn(Widen(folder), Form::AsGiven)) names.push_back(Narrow(name));
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveTree(const std::wstring& path, int patienceMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    for (;;) {
        RemoveOnce(Plain(path));
        if (!Exists(path)) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::Sleep(20);
    }
}

bool RemoveTree(const std::string& path, int patienceMs) { return RemoveTree(Widen(path), patienceMs); }

}  // namespace quorv::test
