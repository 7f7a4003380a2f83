#include "tests/e2e/driver/e2e_unicode_win32.h"

#include <algorithm>

namespace quorv::e2e {

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
