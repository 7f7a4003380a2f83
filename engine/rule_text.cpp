#include "engine/rule_text.h"

#include "formats/int32_wrap.h"
#include "platform/mbtext.h"

namespace quorv {

std::int32_t ReadNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(s[i] - '0');
    }
    if (negative) value = 0u - value;
    return WrapToInt32(value);
}

bool SplitAtBlank(const CodePage& cp, std::string_view s, std::string_view& before, std::string_view& after) {
    const std::size_t blank = mb::FindChar(cp, s, ' ');
    if (blank == mb::npos) return false;
    before = s.substr(0, blank);
    after = s.substr(blank + 1);
    return true;
}

bool QuotedText(const CodePage& cp, std::string_view s, std::size_t from, std::string_view& text,
                std::size_t& end) {
    const std::size_t open = mb::FindChar(cp, s, '"', from);
    if (open == mb::npos) return false;
    const std::size_t close = mb::FindChar(cp, s, '"', open + 1);
    if (close == mb::npos) return false;
    text = s.substr(open + 1, close - open - 1);
    end = close + 1;
    return true;
}

bool AfterColon(const CodePage& cp, std::string_view s, std::string_view& rest) {
    const std::size_t colon = mb::FindChar(cp, s, ':');
    if (colon == mb::npos) return false;
    rest = s.substr(colon + 1);
    return true;
}

DigitExpression ReadDigitExpression(const CodePage& cp, std::string_view expr) {
    DigitExpression d;
    const std::size_t plus = mb::FindChar(cp, expr, '+');
    if (plus != mb::npos) {
        d.step = ReadNumber(expr.substr(plus + 1));
        expr = expr.substr(0, plus);
    }
    const std::size_t colon = mb::FindChar(cp, expr, ':');
    if (colon != mb::npos) {
        d.start = ReadNumber(expr.substr(colon + 1));
        expr = expr.substr(0, colon);
    }
    d.width = ReadNumber(expr);
    return d;
}

SpanCount ReadSpanCount(const CodePage& cp, std::string_view expr) {
    SpanCount c;
    // "letter" counts only behind the expression's first character.
    if (!expr.empty()) {
        const std::size_t letter = mb::Find(cp, expr, "letter", 1);
        if (letter != mb::npos) {
            c.skipToLetter = true;
            expr = expr.substr(0, letter);
        }
    }
    if (mb::FindChar(cp, expr, '=') != mb::npos) {
        c.complement = true;
        expr = expr.substr(mb::CharEnd(cp, expr, 1));
    }
    if (mb::FindChar(cp, expr, '#') != mb::npos) {
        c.single = true;
        expr = expr.substr(mb::CharEnd(cp, expr, 1));
    }
    c.count = ReadNumber(expr);
    return c;
}

}  // namespace quorv
