#include "platform/mbtext.h"

#include <cstdint>
#include <cstring>

namespace quorv::mb {

std::size_t AsciiPrefix(std::string_view s) {
    const char* p = s.data();
    const std::size_t n = s.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
    return i;
}

namespace {

inline std::size_t Step(const CodePage& cp, std::string_view s, std::size_t i) {
    const std::size_t n = cp.CharLength(s, i);
    return (n == 0 || n > s.size() - i) ? s.size() : i + n;  // a faulty code page cannot stall us
}

}  // namespace

// Every position up to the end of the leading ASCII run is a character
// boundary; walks start there instead of at the beginning.
std::size_t Find(const CodePage& cp, std::string_view s, std::string_view needle, std::size_t from) {
    if (needle.empty() || from >= s.size() || needle.size() > s.size() - from) return npos;
    std::size_t at = needle.size() == 1 ? s.find(needle[0], from) : s.find(needle, from);
    if (at == npos) return npos;
    // The usual case, a rule line or a name in ASCII: every byte up to the
    // end of the first match is one, so the match stands as it is, without
    // looking at the rest of the text.
    const std::size_t firstEnd = at + needle.size();
    if (AsciiPrefix(s.substr(0, firstEnd)) == firstEnd) return at;
    const std::size_t ascii = AsciiPrefix(s);
    std::size_t walker = ascii;  // always a boundary
    while (at != npos) {
        bool starts = at <= ascii;
        if (!starts) {
            while (walker < at) walker = Step(cp, s, walker);
            starts = walker == at;
        }
        if (starts) {
            const std::size_t end = at + needle.size();
            if (end <= ascii) return at;
            std::size_t j = at < ascii ? ascii : at;
            while (j < end) j = Step(cp, s, j);
            if (j == end) return at;
        }
        at = s.find(needle, at + 1);
    }
    return npos;
}

std::size_t FindChar(const CodePage& cp, std::string_view s, char c, std::size_t from) {
    // The usual case, an ASCII character looked for in a rule line: one
    // pass over the bytes up to it, as long as each is ASCII (then each is
    // a character of its own); at the first other byte, the full search.
    if (static_cast<unsigned char>(c) < 0x80 && from < s.size()) {
        std::size_t i = 0;
        for (; i < s.size(); ++i) {
            const auto b = static_cast<unsigned char>(s[i]);
            if (b >= 0x80) break;
            if (b == static_cast<unsigned char>(c) && i >= from) return i;
        }
        if (i == s.size()) return npos;
    }
    return Find(cp, s, std::string_view(&c, 1), from);
}

std::size_t FindLastChar(const CodePage& cp, std::string_view s, char c) {
    const std::size_t last = s.rfind(c);
    if (last == npos) return npos;
    const std::size_t ascii = AsciiPrefix(s);
    if (last < ascii) return last;
    std::size_t found = s.substr(0, ascii).rfind(c);
    for (std::size_t i = ascii; i < s.size();) {
        const std::size_t next = Step(cp, s, i);
        if (next == i + 1 && s[i] == c) found = i;
        i = next;
    }
    return found;
}

std::size_t CharStart(const CodePage& cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    std::size_t i = AsciiPrefix(s);
    if (pos < i) return pos;
    for (;;) {
        const std::size_t next = Step(cp, s, i);
        if (next > pos) return i;
        i = next;
    }
}

std::size_t CharEnd(const CodePage& cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    std::size_t i = AsciiPrefix(s);
    if (pos <= i) return pos;
    while (i < pos) i = Step(cp, s, i);
    return i;
}

}  // namespace quorv::mb
