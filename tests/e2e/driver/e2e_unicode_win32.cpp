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

std::string Utf8HandoffBytes(const std::vector<std::wstring>& paths) {
    std::string bytes;
    for (const std::wstring& path : paths) bytes += Utf8(path) + "\r\n";
    return bytes;
}

}  // namespace quorv::e2e
