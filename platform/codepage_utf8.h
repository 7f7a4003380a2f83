#pragma once
// The UTF-8 code page: a well-formed sequence is one character, a malformed
// byte stands alone. This table version knows ASCII letters only, so the
// bytes of a sequence are never changed; the Windows build derives its
// UTF-8 code page (letters and case for the whole of Unicode) from it.
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace quorv {

class Utf8CodePage : public CodePage {
public:
    std::size_t CharLength(std::string_view s, std::size_t i) const override;
    bool IsAlpha(unsigned char c) const override;
    void ToUpper(char* p, std::size_t n) const override;
    void ToLower(char* p, std::size_t n) const override;
    // Lone surrogate halves become '?'; everything else is held.
    std::string FromUtf16(std::u16string_view text) const override;
    // Valid UTF-8 stays as it is; anything else goes through LegacyToUtf16.
    std::string FromStored(std::string_view bytes) const override;

protected:
    // Text of the legacy ANSI code page as UTF-16. This version reads
    // Windows-1252 (the five bytes it leaves undefined become U+0081,
    // U+008D, U+008F, U+0090 and U+009D, as Windows reads them).
    virtual std::u16string LegacyToUtf16(std::string_view bytes) const;
};

}  // namespace quorv
