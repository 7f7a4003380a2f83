#pragma once
// Tag text into the program's narrow text: the ANSI code page on Windows,
// UTF-8 natively. id3lib's own conversions cannot be trusted for this (on
// Windows it has no converter and maps every non-ASCII character to junk).
#include <string>

namespace quorv {

// UTF-16 code units (surrogate pairs allowed) to narrow text. Windows: the
// ANSI code page, characters it lacks become its default character.
// Natively: UTF-8; an unpaired surrogate becomes U+FFFD.
std::string NarrowFromUtf16(const std::u16string& text);

// ISO-8859-1 frame text to narrow text. Windows: the bytes unchanged (a
// single-byte frame is taken as text of the code page, as every tagger of
// the platform writes it). Natively: bytes that already form valid UTF-8
// stay (taggers on UTF-8 systems store them so); otherwise each byte is
// read as Latin-1 and written as UTF-8.
std::string NarrowFromLatin1(const std::string& bytes);

// Portable helpers, shared by both platforms and by the tests.
std::string Utf8FromUtf16(const std::u16string& text);
bool IsValidUtf8(const std::string& bytes);

}  // namespace quorv
