#pragma once
// Multi-byte aware text helpers: every search and every cut of the engine
// goes through these, so that a match never begins or ends inside a
// double-byte character and a span never splits one.
//
// Text made only of ASCII bytes (below 0x80) is single-byte in every code
// page the program meets (double-byte lead bytes and UTF-8 sequences start
// at 0x80), so such text takes a plain byte search.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace quorv::mb {

constexpr std::size_t npos = std::string_view::npos;

// Length of the leading run of ASCII bytes.
std::size_t AsciiPrefix(std::string_view s);

// First occurrence of needle at or after byte position from; the match
// begins and ends on character boundaries. from need not be a boundary:
// the search starts at the first boundary at or after it. An empty needle
// is never found.
std::size_t Find(const CodePage& cp, std::string_view s, std::string_view needle, std::size_t from = 0);

// First occurrence of a one-byte character.
std::size_t FindChar(const CodePage& cp, std::string_view s, char c, std::size_t from = 0);

// Last occurrence of a one-byte character that stands as a whole character
// (a trail byte of a double-byte character never counts).
std::size_t FindLastChar(const CodePage& cp, std::string_view s, char c);

// Start of the character that contains byte pos (pos < s.size()); s.size()
// for pos at or beyond the end.
std::size_t CharStart(const CodePage& cp, std::string_view s, std::size_t pos);

// The first character boundary at or after pos (s.size() at most).
std::size_t CharEnd(const CodePage& cp, std::string_view s, std::size_t pos);

}  // namespace quorv::mb
