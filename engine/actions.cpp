#include "engine/actions.h"

#include "engine/inserted_values.h"
#include "platform/mbtext.h"

namespace quorv {
namespace {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A letter for word and letter-skip purposes, as the code page classifies
// the whole character: a single-byte character that it calls alphabetic,
// and a multi-byte one that it calls a letter (every multi-byte character
// where it cannot tell).
inline bool IsLetterAt(const CodePage& cp, std::string_view s, std::size_t i, std::size_t& length) {
    length = cp.CharLength(s, i);
    if (length == 0 || length > s.size() - i) length = 1;
    return cp.IsLetter(s.substr(i, length));
}

}  // namespace

bool AddText(const EngineContext& ctx, const std::string& path, std::int32_t fileNumber, std::string_view rem,
             bool front, std::string& part) {
    const CodePage& cp = *ctx.codePage;
    std::string generated;
    std::string_view text;
    if (mb::FindChar(cp, rem, '"') != mb::npos) {
        std::size_t end = 0;
        if (!QuotedText(cp, rem, 0, text, end)) return false;
    } else {
        std::string_view kind, afterKind, parameter;
        if (!SplitAtBlank(cp, rem, kind, afterKind)) return false;
        if (!AfterColon(cp, afterKind, parameter)) return false;
        generated = GeneratedValue(ctx, path, fileNumber, kind, parameter);
        text = generated;
    }
    if (text.empty()) return false;
    if (front) part.insert(0, text.data(), text.size());
    else part.append(text.data(), text.size());
    return true;
}

bool InsertText(const CodePage& cp, std::string_view rem, std::string& part) {
    std::string_view text;
    std::size_t end = 0;
    if (!QuotedText(cp, rem, 0, text, end)) return false;
    constexpr std::string_view kPosition = "position:";
    const std::size_t at = mb::Find(cp, rem, kPosition);
    if (at == mb::npos) return false;
    const std::int32_t position = ReadNumber(rem.substr(at + kPosition.size()));
    if (position < 1 || text.empty()) return false;
    std::size_t place = static_cast<std::size_t>(position) - 1;
    // Past the end the text is appended; inside a double-byte character it
    // goes behind that character.
    place = place >= part.size() ? part.size() : mb::CharEnd(cp, part, place);
    part.insert(place, text.data(), text.size());
    return true;
}

void ReplaceAll(const CodePage& cp, std::string& part, std::string_view find, std::string_view replacement) {
    if (find.empty()) return;
    std::size_t at = mb::Find(cp, part, find);
    if (at == mb::npos) return;
    thread_local std::string out;
    out.clear();
    std::size_t from = 0;
    while (at != mb::npos) {
        out.append(part, from, at - from);
        out.append(replacement.data(), replacement.size());
        from = at + find.size();
        at = mb::Find(cp, part, find, from);
    }
    out.append(part, from, std::string::npos);
    part.swap(out);
}

bool ReplaceText(const CodePage& cp, std::string_view rem, std::string& part) {
    std::string_view find, replacement;
    std::size_t end = 0;
    if (!QuotedText(cp, rem, 0, find, end)) return false;
    if (!QuotedText(cp, rem, end, replacement, end)) return false;
    ReplaceAll(cp, part, find, replacement);
    return true;
}

void RemoveText(const CodePage& cp, std::string& part, std::string_view text) {
    const std::size_t star = mb::FindChar(cp, text, '*');
    if (star == mb::npos || text.size() < 2) {
        ReplaceAll(cp, part, text, {});
        return;
    }
    const std::string_view a = text.substr(0, star);
    const std::string_view b = text.substr(star + 1);
    if (a.empty()) {
        const std::size_t at = mb::Find(cp, part, b);
        if (at != mb::npos) part.erase(0, at + b.size());
    } else if (b.empty()) {
        const std::size_t at = mb::Find(cp, part, a);
        if (at != mb::npos) part.erase(at);
    } else {
        const std::size_t atA = mb::Find(cp, part, a);
        if (atA == mb::npos) return;
        const std::size_t atB = mb::Find(cp, part, b, atA + a.size());
        if (atB == mb::npos) return;
        part.erase(atA, atB + b.size() - atA);
    }
}

Span EndSpan(const CodePage& cp, std::string_view part, bool fromLeft, const SpanCount& count) {
    const std::int64_t length = static_cast<std::int64_t>(part.size());
    std::int64_t n = count.count;
    bool left = fromLeft;
    if (count.complement) {
        n = length - n;
        left = !left;
    }
    if (n < 0) n = 0;
    if (n > length) n = length;

    std::int64_t skip = 0;
    if (count.skipToLetter && length > 0) {
        std::size_t firstStart = mb::npos, lastEnd = mb::npos;
        for (std::size_t i = 0; i < part.size();) {
            std::size_t len = 1;
            if (IsLetterAt(cp, part, i, len)) {
                if (firstStart == mb::npos) firstStart = i;
                lastEnd = i + len;
                if (left) break;
            }
            i += len;
        }
        if (firstStart != mb::npos) {
            skip = left ? static_cast<std::int64_t>(firstStart) : length - static_cast<std::int64_t>(lastEnd);
        }
    }
    if (n > length - skip) n = length - skip;

    std::int64_t begin = 0, end = 0;
    if (count.single) {
        if (n == 0) return {};
        begin = left ? skip + n - 1 : length - skip - n;
        end = begin + 1;
    } else {
        begin = left ? skip : length - skip - n;
        end = begin + n;
    }
    if (begin >= end) return {};
    // Never split a character: the span grows to whole characters.
    Span s;
    s.begin = mb::CharStart(cp, part, static_cast<std::size_t>(begin));
    s.end = mb::CharEnd(cp, part, static_cast<std::size_t>(end));
    return s;
}

bool FindDateInName(const CodePage& cp, std::string_view part, std::string_view format, Span& span) {
    const std::int64_t length = static_cast<std::int64_t>(part.size());
    // The month-day formats: the date is found by the name's first dash.
    std::int64_t deleted = 0;
    bool monthFirst = true;
    if (format == "mm-dd-yy" || format == "short_local_date") { deleted = 8; }
    else if (format == "mm-dd-yyyy") { deleted = 10; }
    else if (format == "dd-mm-yy") { deleted = 8; monthFirst = false; }
    else if (format == "dd-mm-yyyy") { deleted = 10; monthFirst = false; }
    if (deleted != 0) {
        const std::size_t dash = mb::FindChar(cp, part, '-');
        if (dash == mb::npos || mb::FindChar(cp, part, '-', dash + 1) == mb::npos) return false;
        const std::int64_t d = static_cast<std::int64_t>(dash);
        std::int64_t from = monthFirst ? d - 2 : d + 1;
        std::int64_t to = monthFirst ? d : d + 3;
        if (from < 0) from = 0;
        if (to > length) to = length;
        const std::int64_t monthLength = to - from;
        if (monthLength < 1 || monthLength > 2) return false;
        const std::int32_t month = ReadNumber(part.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(monthLength)));
        if (month < 1 || month > 12) return false;
        std::int64_t begin = d - 2, end = d - 2 + deleted;
        if (begin < 0) begin = 0;
        if (end > length) end = length;
        if (begin >= end) return false;
        span.begin = mb::CharStart(cp, part, static_cast<std::size_t>(begin));
        span.end = mb::CharEnd(cp, part, static_cast<std::size_t>(end));
        return true;
    }

    // The year-first and dotted formats: the first stretch that has the
    // format's layout exactly (digits where it has letters, its separators
    // elsewhere), is not part of a longer run of digits, and holds a month
    // from 1 to 12 and a day from 1 to 31.
    static const char* const kLayouts[] = {"yy-mm-dd", "yyyy-mm-dd", "mm.dd.yy", "yy.mm.dd",
                                           "mm.dd.yyyy", "yyyy.mm.dd", "dd.mm.yy", "dd.mm.yyyy"};
    bool known = false;
    for (const char* l : kLayouts) known = known || format == l;
    if (!known) return false;
    const std::size_t width = format.size();
    for (std::size_t i = 0; i + width <= part.size(); ++i) {
        if (mb::CharEnd(cp, part, i) != i) continue;
        if (i > 0 && IsDigit(part[i - 1])) continue;
        if (i + width < part.size() && IsDigit(part[i + width])) continue;
        int month = 0, day = 0;
        bool ok = true;
        for (std::size_t k = 0; k < width && ok; ++k) {
            const char f = format[k], c = part[i + k];
            if (f == 'y' || f == 'm' || f == 'd') {
                ok = IsDigit(c);
                if (f == 'm') month = month * 10 + (c - '0');
                if (f == 'd') day = day * 10 + (c - '0');
            } else {
                ok = c == f;
            }
        }
        if (ok && month >= 1 && month <= 12 && day >= 1 && day <= 31) {
            span.begin = i;
            span.end = i + width;
            return true;
        }
    }
    return false;
}

void FirstLetterOfEachWord(const CodePage& cp, std::string& part, bool upper) {
    bool inWord = false;
    for (std::size_t i = 0; i < part.size();) {
        std::size_t len = 1;
        const bool letter = IsLetterAt(cp, part, i, len);
        if (!inWord) {
            if (letter) {
                const char c = part[i];
                if (len == 1 && upper && c >= 'a' && c <= 'z') part[i] = static_cast<char>(c - 'a' + 'A');
                if (len == 1 && !upper && c >= 'A' && c <= 'Z') part[i] = static_cast<char>(c - 'A' + 'a');
                inWord = true;
            }
        } else if (!letter) {
            inWord = false;
        }
        i += len;
    }
}

bool ChangeCase(const CodePage& cp, CaseAction action, std::string_view rem, std::string& part) {
    std::string_view word, value;
    if (!SplitAtBlank(cp, rem, word, value)) {
        word = rem;
        value = {};
    }
    if (word == "all") {
        if (action == CaseAction::Remove) part.clear();
        else if (!part.empty() && action == CaseAction::Upper) cp.ToUpper(&part[0], part.size());
        else if (!part.empty()) cp.ToLower(&part[0], part.size());
        return true;
    }
    if (word == "left" || word == "right") {
        std::string_view expr;
        if (!AfterColon(cp, value, expr)) return false;
        const Span s = EndSpan(cp, part, word == "left", ReadSpanCount(cp, expr));
        if (s.begin >= s.end) return true;
        if (action == CaseAction::Remove) part.erase(s.begin, s.end - s.begin);
        else if (action == CaseAction::Upper) cp.ToUpper(&part[s.begin], s.end - s.begin);
        else cp.ToLower(&part[s.begin], s.end - s.begin);
        return true;
    }
    if (word == "date") {
        // The same for all three actions: the date is removed.
        std::string_view format;
        if (!AfterColon(cp, value, format)) return false;
        Span s;
        if (!FindDateInName(cp, part, format, s)) return false;
        part.erase(s.begin, s.end - s.begin);
        return true;
    }
    if (action != CaseAction::Remove) {
        if (word != "\"the_first_letter_of_each_word\"") return false;
        FirstLetterOfEachWord(cp, part, action == CaseAction::Upper);
        return true;
    }
    std::string_view text = word;
    if (mb::FindChar(cp, rem, '"') != mb::npos) {
        std::size_t end = 0;
        if (!QuotedText(cp, rem, 0, text, end)) return false;
    }
    RemoveText(cp, part, text);
    return true;
}

}  // namespace quorv
