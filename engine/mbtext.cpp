#include "engine/mbtext.h"

#include <cstring>

namespace quorv::mb {

bool IsAscii(std::string_view s) {
    for (char ch : s) {
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    }
    return true;
}

namespace {

inline std::size_t Step(const CodePage& cp, std::string_view s, std::size_t i) {
    const std::size_t n = cp.CharLength(s, i);
    return (n == 0 || n > s.size() - i) ? s.size() : i + n;  // a faulty code page cannot stall us
}

}  // namespace

std::size_t Find(const CodePage& cp, std::string_view s, std::string_view needle, std::size_t from) {
    if (needle.empty() || from >= s.size() || needle.size() > s.size() - from) return npos;
    if (IsAscii(s)) return s.find(needle, from);
    const std::size_t last = s.size() - needle.size();
    for (std::size_t i = 0; i <= last; i = Step(cp, s, i)) {
        if (i < from) continue;
        if (s[i] != needle[0] || std::memcmp(s.data() + i, needle.data(), needle.size()) != 0) continue;
        // The match must end on a boundary too.
        const std::size_t end = i + needle.size();
        std::size_t j = i;
        while (j < end) j = Step(cp, s, j);
        if (j == end) return i;
    }
    return npos;
}

std::size_t FindChar(const CodePage& cp, std::string_view s, char c, std::size_t from) {
    return Find(cp, s, std::string_view(&c, 1), from);
}

std::size_t FindLastChar(const CodePage& cp, std::string_view s, char c) {
    if (IsAscii(s)) return s.rfind(c);
    std::size_t found = npos;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t next = Step(cp, s, i);
        if (next == i + 1 && s[i] == c) found = i;
        i = next;
    }
    return found;
}

std::size_t CharStart(const CodePage& cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    if (IsAscii(s)) return pos;
    std::size_t i = 0;
    for (;;) {
        const std::size_t next = Step(cp, s, i);
        if (next > pos) return i;
        i = next;
    }
}

std::size_t CharEnd(const CodePage& cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    if (IsAscii(s)) return pos;
    std::size_t i = 0;
    while (i < pos) i = Step(cp, s, i);
    return i;
}

}  // namespace quorv::mb
