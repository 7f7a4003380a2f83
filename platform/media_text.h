#pragma once
// Tag text into the program's narrow text (the process's ANSI code page on
// Windows, UTF-8 natively). id3lib's own conversions cannot be trusted for
// this (on Windows it has no converter and maps every non-ASCII character
// to junk). The UTF-8 helpers the conversions use are in platform/utf8.h.
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace quorv {

// ISO-8859-1 frame text to narrow text. Bytes that already form valid UTF-8
// stay UTF-8 (taggers on UTF-8 systems store them so; converted into the
// narrow text where that is not UTF-8). Anything else is taken as text of
// the system's legacy ANSI code page on Windows (as every tagger of the
// platform writes it) and as Latin-1 natively.
std::string NarrowFromLatin1(const std::string& bytes);

}  // namespace quorv
