#include "tests/e2e/driver/e2e_unicode_win32.h"

#include <algorithm>

namespace quorv::e2e {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string text(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
    return text;
}

std::wstring FromUtf8(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], n);
    return text;
}

std::wstring WideText(const Window& window) {
    const LRESULT length = window.Ask(WM_GETTEXTLENGTH, 0, 0, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!window.Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied, kCommandTimeout))
        return std::wstring();
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::vector<std::wstring> WideItems(const Window& list) {
    std::vector<std::wstring> items;
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const LRESULT length = list.Ask(LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, LB_ERR);
        if (length < 0) {
            items.emplace_back();
            continue;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        list.Send(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]), &copied);
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(text);
    }
    return items;
}

namespace {

std::wstring Long(const std::wstring& path) {
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    return L"\\\\?\\" + path;
}

}  // namespace

bool WideExists(const std::wstring& path) {
    return ::GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeWideFolders(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(Long(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2 && !MakeWideFolders(path.substr(0, slash))) return false;
    return ::CreateDirectoryW(Long(path).c_str(), nullptr) != FALSE;
}

bool WriteWideFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file =
        ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                  nullptr) &&
                                      written == bytes.size());
    ::CloseHandle(file);
    return ok;
}

std::string ReadWideFile(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> WideNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(Long(folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveWideTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(Long(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    ::SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A program that has just ended may hold its file for a moment.
        return WaitUntil([&] { return ::DeleteFileW(Long(path).c_str()) || !WideExists(path); }, 3000, 20);
    }
    bool ok = true;
    for (const std::wstring& name : WideNamesIn(path)) ok = RemoveWideTree(path + L"\\" + name) && ok;
    return (::RemoveDirectoryW(Long(path).c_str()) || !WideExists(path)) && ok;
}

std::string Utf8HandoffBytes(const std::vector<std::wstring>& paths) {
    std::string bytes;
    for (const std::wstring& path : paths) bytes += Utf8(path) + "\r\n";
    return bytes;
}

}  // namespace quorv::e2e
