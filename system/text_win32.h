#pragma once
// The program's narrow text and the system's UTF-16, in one place for the
// Windows build.
//
// The narrow text is the process's ANSI code page: UTF-8 where the
// program's manifest is honoured (Windows 10 1903 and later, Wine), the
// system's ANSI code page on older Windows. Window code that hands a path
// or a text to a wide function (a common dialog, the folder picker) turns
// it into UTF-16 with WideFromNarrow and takes the answer back with
// NarrowFromWide. The "\\?\" form of long paths (WideFilePath) is for the
// platform's own file access only: dialogs and the shell do not take it.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorv::win {

// Narrow text as UTF-16 (MultiByteToWideChar with the ANSI code page; a
// byte sequence the page does not define becomes its default character).
std::wstring WideFromNarrow(std::string_view text);
// The length WideFromNarrow's answer would have, counted without making it.
std::size_t WideLengthOf(std::string_view text);
// WideFromNarrow into a given buffer of `room` characters (no terminator
// written); the characters written, or 0 when the text does not fit.
std::size_t WideFromNarrowInto(std::string_view text, wchar_t* out, std::size_t room);

// UTF-16 as narrow text: the system code page's FromUtf16, the program's
// one conversion (a character the page cannot hold becomes '?').
std::string NarrowFromWide(std::wstring_view text);

// The ANSI code page the system gives programs without the UTF-8 manifest
// (the system locale's): the text of files that earlier versions, or this
// one on older Windows, wrote. Never 65001: a system whose every program
// runs in UTF-8 has no legacy text of its own, and 1252 stands in.
unsigned LegacyAnsiCodePage();

// Paths from this length (UTF-16 code units) on take the "\\?\" form in
// WideFilePath: the plain form of CreateDirectory stops at 248 characters,
// that of the other file functions at 260.
constexpr std::size_t kLongPathFrom = 248;

// A path of the program as the wide file functions take it at any length:
// converted with WideFromNarrow and, from kLongPathFrom on, made full
// (GetFullPathNameW: a relative path, "." and ".." parts, '/' and trailing
// dots and blanks of the last part are resolved as the plain form resolves
// them) and given the "\\?\" or "\\?\UNC\" prefix. A path that already has
// a prefix is kept. Empty for an empty path and for one holding a zero
// byte, which would name another file: callers treat that as a failure.
std::wstring WideFilePath(std::string_view path);

// The same for a path that is already UTF-16.
std::wstring LongPathForm(std::wstring path);

}  // namespace quorv::win
