#pragma once
// The text seam: every byte-level decision about characters (where a
// character ends, what is a letter, how case maps) goes through a CodePage.
// Windows uses the system ANSI code page; natively the text is UTF-8; tests
// build table-driven code pages (1252, 932) to exercise multi-byte cases.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quorv {

class CodePage {
public:
    virtual ~CodePage() = default;

    // Number of bytes of the character that starts at s[i] (at least 1,
    // never past the end of s). i must be below s.size().
    virtual std::size_t CharLength(std::string_view s, std::size_t i) const = 0;

    // True when the byte is classified as alphabetic by the code page.
    virtual bool IsAlpha(unsigned char c) const = 0;

    // Case mapping of a byte span in place; multi-byte characters are left as
    // they are and never split.
    virtual void ToUpper(char* p, std::size_t n) const = 0;
    virtual void ToLower(char* p, std::size_t n) const = 0;

    // UTF-16 text as narrow text of this code page, the one conversion of
    // the program: a character the code page cannot hold, and a half of a
    // surrogate pair that stands alone, becomes '?'. This base version
    // holds ASCII only.
    virtual std::string FromUtf16(std::u16string_view text) const;

    // Convenience wrappers.
    std::string Upper(std::string s) const { if (!s.empty()) ToUpper(&s[0], s.size()); return s; }
    std::string Lower(std::string s) const { if (!s.empty()) ToLower(&s[0], s.size()); return s; }
};

// Table-driven code pages for tests and the native command line.
std::unique_ptr<CodePage> MakeUtf8CodePage();
std::unique_ptr<CodePage> MakeTableCodePage(int number);  // 1252 or 932; null otherwise

}  // namespace quorv
