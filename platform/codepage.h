#pragma once
// The text seam: every byte-level decision about characters (where a
// character ends, what is a letter, how case maps) goes through a CodePage.
// Windows uses the process's ANSI code page (the system's, or UTF-8 when the
// program's manifest asks for it); natively the text is UTF-8; tests build
// table-driven code pages (1252, 932) to exercise multi-byte cases.
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

    // True when the character (its whole bytes, as CharLength gave them) is
    // a letter. This base version: a single byte when IsAlpha says so, and
    // every multi-byte character (the accented and ideographic letters of
    // the double-byte code pages). A code page that can classify whole
    // multi-byte characters says so itself.
    virtual bool IsLetter(std::string_view character) const;

    // Case mapping of a byte span in place. A multi-byte character is never
    // split and never changes its length in bytes: a code page that maps
    // multi-byte characters leaves one whose other form has another length
    // as it is.
    virtual void ToUpper(char* p, std::size_t n) const = 0;
    virtual void ToLower(char* p, std::size_t n) const = 0;

    // UTF-16 text as narrow text of this code page, the one conversion of
    // the program: a character the code page cannot hold, and a half of a
    // surrogate pair that stands alone, becomes '?'. This base version
    // holds ASCII only.
    virtual std::string FromUtf16(std::u16string_view text) const;

    // A single-byte string of a stored file (rule, batch and settings files,
    // the handoff file) as narrow text of this code page. Writers store the
    // narrow text unchanged; this reads what any version wrote: text that
    // is valid UTF-8 is UTF-8 (converted into this code page, through
    // FromUtf16, when the page is not UTF-8), anything else is text of the
    // system's legacy ANSI code page. This base version takes that legacy
    // page to be the code page itself.
    virtual std::string FromStored(std::string_view bytes) const;

    // Convenience wrappers.
    std::string Upper(std::string s) const { if (!s.empty()) ToUpper(&s[0], s.size()); return s; }
    std::string Lower(std::string s) const { if (!s.empty()) ToLower(&s[0], s.size()); return s; }
};

// Table-driven code pages for tests and the native command line. The UTF-8
// page's letters and case mapping are ASCII only, and it reads legacy stored
// text as Windows-1252.
std::unique_ptr<CodePage> MakeUtf8CodePage();
std::unique_ptr<CodePage> MakeTableCodePage(int number);  // 1252 or 932; null otherwise

}  // namespace quorv
