#pragma once
// Reading a rule line into its fields. Every step looks for the first blank
// of what is left; quoted texts run from a double quote to the next one.
// A reader that returns false means the line has no effect.
#include <cstdint>
#include <string_view>

#include "platform/codepage.h"

namespace quorv {

// The number rule: optional leading white space, an optional sign, then
// decimal digits up to the first other character; no digits read as 0.
// Values beyond 32 bits wrap around modulo 2^32 (well defined, never
// undefined behaviour).
std::int32_t ReadNumber(std::string_view s);

// The text before and after the first blank; false when there is no blank.
bool SplitAtBlank(const CodePage& cp, std::string_view s, std::string_view& before, std::string_view& after);

// The quoted text that begins at the first double quote at or after from;
// end receives the position just behind the closing quote. False when the
// opening or the closing quote is missing.
bool QuotedText(const CodePage& cp, std::string_view s, std::size_t from, std::string_view& text,
                std::size_t& end);

// Everything after the first colon; false when there is no colon.
bool AfterColon(const CodePage& cp, std::string_view s, std::string_view& rest);

// The count expression of a sequence number: W, W:S, W+T or W:S+T.
struct DigitExpression {
    std::int32_t width = 0;
    std::int32_t start = 0;
    std::int32_t step = 1;
};
DigitExpression ReadDigitExpression(const CodePage& cp, std::string_view expr);

// The count expression of a left/right span: [=][#]N[letter].
struct SpanCount {
    std::int32_t count = 0;
    bool complement = false;   // "=": count from the other end what is kept
    bool single = false;       // "#": the one character at the N-th place
    bool skipToLetter = false; // "letter": begin at the first letter
};
SpanCount ReadSpanCount(const CodePage& cp, std::string_view expr);

}  // namespace quorv
