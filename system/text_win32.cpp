// The program's narrow text and the system's UTF-16 (see text_win32.h).
#include "system/text_win32.h"

#include <windows.h>

#include <climits>

#include "system/system.h"

namespace quorv::win {

std::wstring WideFromNarrow(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int got = MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], needed);
    wide.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return wide;
}

std::size_t WideLengthOf(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return 0;
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    return needed > 0 ? static_cast<std::size_t>(needed) : 0;
}

std::size_t WideFromNarrowInto(std::string_view text, wchar_t* out, std::size_t room) {
    if (text.empty() || !out || text.size() > static_cast<std::size_t>(INT_MAX)) return 0;
    const int limit = room > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(room);
    const int got = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, limit);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::string NarrowFromWide(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");
    return SystemCodePage().FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

unsigned LegacyAnsiCodePage() {
    const UINT active = GetACP();
    if (active != CP_UTF8) return active;
    // The system locale's ANSI code page, which the manifest does not
    // change. (GetLocaleInfoEx with LOCALE_NAME_SYSTEM_DEFAULT fails in
    // Wine 8; the locale number works on both.)
    DWORD page = 0;
    const int got = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&page), sizeof(page) / sizeof(WCHAR));
    if (got == 0 || page == 0 || page == CP_UTF8 || !IsValidCodePage(page)) return 1252;
    return page;
}

std::wstring LongPathForm(std::wstring path) {
    if (path.size() < kLongPathFrom) return path;
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0) return path;
    // The full path, asked for at its real length (it may grow between the
    // two calls when the current folder changes: ask again then).
    std::wstring full;
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    for (int attempt = 0; attempt < 4 && size != 0; ++attempt) {
        full.assign(size, L'\0');
        const DWORD got = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
        if (got == 0) return path;
        if (got < size) {
            full.resize(got);
            break;
        }
        size = got;
        full.clear();
    }
    if (full.empty()) return path;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return full;
}

std::wstring WideFilePath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::wstring();
    return LongPathForm(WideFromNarrow(path));
}

}  // namespace quorv::win
