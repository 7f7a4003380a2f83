// Tag text on Windows: the program's narrow text is the ANSI code page.
#include <windows.h>

#include <limits>

#include "platform/media_text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

namespace quorv {

std::string NarrowFromUtf16(const std::u16string& text) {
    if (text.empty()) return {};
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 4)) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int wideLen = static_cast<int>(text.size());
    // No WC_NO_BEST_FIT_CHARS: a character the code page lacks may map to a
    // look-alike (as the system itself does) or else to the default char.
    const int need = WideCharToMultiByte(CP_ACP, 0, wide, wideLen, nullptr, 0, nullptr, nullptr);
    if (need <= 0) return {};
    std::string out(static_cast<std::size_t>(need), '\0');
    const int got = WideCharToMultiByte(CP_ACP, 0, wide, wideLen, &out[0], need, nullptr, nullptr);
    if (got <= 0) return {};
    out.resize(static_cast<std::size_t>(got));
    return out;
}

std::string NarrowFromLatin1(const std::string& bytes) { return bytes; }

}  // namespace quorv
