#include "engine/timecode.h"

#include <cstdio>
#include <limits>

#include "engine/rule_text.h"
#include "platform/mbtext.h"

namespace quorv {
namespace {

constexpr std::string_view kStartWord = " start:";
constexpr std::string_view kFromName = "HH-MM-SS-FF";

struct Pattern {
    std::string_view keyword;
    char delimiter;
    bool dashes;
};
constexpr Pattern kPatterns[] = {
    {"_HHMMSSFF_", '_', false},     {".HHMMSSFF.", '.', false},   {"-HHMMSSFF-", '-', false},
    {"_HH-MM-SS-FF_", '_', true},   {".HH-MM-SS-FF.", '.', true},
};

// Length of the run of decimal digits at the end of s.
std::size_t TrailingDigits(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && s[s.size() - 1 - n] >= '0' && s[s.size() - 1 - n] <= '9') ++n;
    return n;
}

bool CheckedMulAdd(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t& out) {
    // a * b + c without overflow; the operands here stay far below 2^62 / 2^31.
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max() / 4;
    const std::int64_t absA = a < 0 ? -a : a;
    const std::int64_t absB = b < 0 ? -b : b;
    if (absB != 0 && absA > kMax / absB) return false;
    const std::int64_t p = a * b;
    const std::int64_t absC = c < 0 ? -c : c;
    if (absC > kMax) return false;
    out = p + c;
    return true;
}

}  // namespace

bool ReadFormatLine(const CodePage& cp, std::string_view rem, FormatLine& out) {
    out = FormatLine{};
    const std::size_t startAt = mb::Find(cp, rem, kStartWord);
    if (startAt == mb::npos) return false;
    out.start = rem.substr(startAt + kStartWord.size());

    if (mb::Find(cp, rem, "NTSC(30F)") != mb::npos) {
        out.rate = 30;
    } else if (mb::Find(cp, rem, "PAL(25F)") != mb::npos) {
        out.rate = 25;
    } else if (mb::Find(cp, rem, "Film(24F)") != mb::npos) {
        out.rate = 24;
    } else {
        // A typed rate: the text before " start:", from behind its first
        // double quote, without its last character (the closing quote).
        std::string_view typed = rem.substr(0, startAt);
        const std::size_t quote = mb::FindChar(cp, typed, '"');
        if (quote != mb::npos) typed = typed.substr(quote + 1);
        if (!typed.empty()) typed = typed.substr(0, mb::CharStart(cp, typed, typed.size() - 1));
        const std::int32_t rate = ReadNumber(typed);
        out.rate = rate < 1 ? 1 : rate;
    }

    for (const Pattern& p : kPatterns) {
        if (mb::Find(cp, rem, p.keyword) != mb::npos) {
            out.pattern = p.keyword;
            break;
        }
    }
    return true;
}

std::string TimecodeText(std::string_view pattern, std::int32_t frames, std::int32_t rate) {
    const Pattern* found = nullptr;
    for (const Pattern& p : kPatterns) {
        if (p.keyword == pattern) found = &p;
    }
    if (!found || frames < 0 || rate < 1) return {};
    const std::int32_t ff = frames % rate;
    const std::int32_t total = frames / rate;
    const std::int32_t ss = total % 60;
    const std::int32_t mm = (total / 60) % 60;
    const std::int32_t hh = total / 3600;
    char buf[64];
    const char* layout = found->dashes ? "%c%02d-%02d-%02d-%02d%c" : "%c%02d%02d%02d%02d%c";
    const int n = std::snprintf(buf, sizeof buf, layout, found->delimiter, static_cast<int>(hh), static_cast<int>(mm),
                                static_cast<int>(ss), static_cast<int>(ff), found->delimiter);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

bool FrameNumber(const FormatLine& line, std::string_view part, std::int32_t fileNumber, std::int32_t& frames) {
    constexpr std::int64_t kMaxFrame = std::numeric_limits<std::int32_t>::max();
    std::int64_t f = 0;
    if (line.start == kFromName) {
        // The digits at the end of the name; a run too long for a frame
        // number is no frame number.
        const std::string_view digits = part.substr(part.size() - TrailingDigits(part));
        for (char c : digits) {
            f = f * 10 + (c - '0');
            if (f > kMaxFrame) return false;
        }
    } else {
        // h-m-s-f: each field up to the next dash, at most three dashes.
        std::string_view rest = line.start;
        std::int64_t fields[3] = {0, 0, 0};
        for (int i = 0; i < 3; ++i) {
            const std::size_t dash = rest.find('-');  // '-' never is a trail byte of a multi-byte character
            if (dash == std::string_view::npos) break;
            fields[i] = ReadNumber(rest.substr(0, dash));
            rest = rest.substr(dash + 1);
        }
        const std::int64_t seconds = (fields[0] * 60 + fields[1]) * 60 + fields[2];
        const std::int64_t tail = static_cast<std::int64_t>(ReadNumber(rest)) + fileNumber - 1;
        if (!CheckedMulAdd(seconds, line.rate, tail, f)) return false;
    }
    if (f < 0 || f > kMaxFrame) return false;
    frames = static_cast<std::int32_t>(f);
    return true;
}

bool ApplyFormat(const CodePage& cp, std::string_view remainder, std::int32_t fileNumber, std::string& part) {
    FormatLine line;
    if (!ReadFormatLine(cp, remainder, line) || line.pattern.empty()) return false;
    std::int32_t frames = 0;
    if (!FrameNumber(line, part, fileNumber, frames)) return false;
    const std::string text = TimecodeText(line.pattern, frames, line.rate);
    if (text.empty()) return false;
    // The timecode goes in front of the frame digits at the end of the name
    // (at the end when it has none): the frame number stays the trailing
    // number that sequence loaders read, and the name's own text stays in
    // front.
    part.insert(part.size() - TrailingDigits(part), text);
    return true;
}

}  // namespace quorv
