#pragma once
// UTF-8 building blocks shared by the code pages and the text conversions:
// where a well-formed sequence ends, the code point it holds, and the
// conversions between UTF-8 and UTF-16. Standard C++ only.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorv {

// Bytes of the well-formed UTF-8 sequence that starts at s[i] (2 to 4), or 1
// for an ASCII byte and for a byte that starts no well-formed sequence (a
// stray continuation byte, an overlong form, a surrogate, a value beyond
// U+10FFFF, a sequence cut short). i must be below s.size().
std::size_t Utf8CharLength(std::string_view s, std::size_t i);

// The code point of the well-formed sequence of n bytes at s[i], n as
// Utf8CharLength gave it.
char32_t DecodeUtf8(std::string_view s, std::size_t i, std::size_t n);

// Bytes of the UTF-8 form of a code point, and that form appended to out.
std::size_t Utf8Length(char32_t c);
void AppendUtf8(std::string& out, char32_t c);

// UTF-16 as UTF-8. A half of a surrogate pair that stands alone becomes the
// replacement (U+FFFD unless told otherwise).
std::string Utf8FromUtf16(std::u16string_view text, char32_t replacement = 0xFFFD);

// UTF-8 as UTF-16; a byte that starts no well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// True when every byte belongs to a well-formed UTF-8 sequence (plain ASCII
// included).
bool IsValidUtf8(std::string_view bytes);

// True when every byte is below 0x80.
bool IsAscii(std::string_view bytes);

}  // namespace quorv
