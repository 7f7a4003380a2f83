#pragma once
// Tag text into the program's narrow text: the ANSI code page on Windows,
// UTF-8 natively. id3lib's own conversions cannot be trusted for this (on
// Windows it has no converter and maps every non-ASCII character to junk).
#include <string>
#include <string_view>

namespace quorv {

// ISO-8859-1 frame text to narrow text. Windows: the bytes unchanged (a
// single-byte frame is taken as text of the code page, as every tagger of
// the platform writes it). Natively: bytes that already form valid UTF-8
// stay (taggers on UTF-8 systems store them so); otherwise each byte is
// read as Latin-1 and written as UTF-8.
std::string NarrowFromLatin1(const std::string& bytes);

// Portable helpers, shared by both platforms and by the tests. The UTF-8
// encoder writes the replacement for a half of a surrogate pair that stands
// alone (U+FFFD unless told otherwise).
std::string Utf8FromUtf16(std::u16string_view text, char32_t replacement = 0xFFFD);
bool IsValidUtf8(const std::string& bytes);

}  // namespace quorv
