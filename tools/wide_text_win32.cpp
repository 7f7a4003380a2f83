// Wide strings of the stored files become text in the system ANSI code page.
#include "tools/string_list_record.h"

#include <windows.h>

#include <climits>

namespace quorv {

std::string WideToNarrow(const std::u16string& wide) {
    if (wide.empty()) return std::string();
    // The stored length fits in 31 bits, so it fits an int.
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
    const wchar_t* src = reinterpret_cast<const wchar_t*>(wide.data());
    const int units = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, src, units, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string(wide.size(), '?');
    std::string out(static_cast<std::size_t>(needed), '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, src, units, &out[0], needed, nullptr, nullptr);
    if (written <= 0) return std::string(wide.size(), '?');
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace quorv
