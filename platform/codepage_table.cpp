// Code pages built from tables: UTF-8 (the native text), Windows-1252 and
// Shift-JIS (932). The native build uses UTF-8 as its system code page; the
// tests use all three to exercise multi-byte awareness anywhere.
#include <array>
#include <cstdint>

#include "platform/codepage.h"
#include "platform/codepage_utf8.h"
#include "platform/utf8.h"

namespace quorv {

std::string CodePage::FromUtf16(std::u16string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // A surrogate pair is one character the base code page cannot hold.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

bool CodePage::IsLetter(std::string_view character) const {
    if (character.empty()) return false;
    return character.size() > 1 || IsAlpha(static_cast<unsigned char>(character[0]));
}

std::string CodePage::FromStored(std::string_view bytes) const {
    if (IsAscii(bytes) || !IsValidUtf8(bytes)) return std::string(bytes);
    return FromUtf16(Utf16FromUtf8(bytes));
}

namespace {

inline bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
inline bool IsAsciiUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }

// Windows-1252 at 0x80-0x9F (0: left undefined); 0xA0-0xFF are Latin-1.
constexpr char16_t k1252High[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

}  // namespace

// ---------------------------------------------------------------- UTF-8

std::size_t Utf8CodePage::CharLength(std::string_view s, std::size_t i) const { return Utf8CharLength(s, i); }

bool Utf8CodePage::IsAlpha(unsigned char c) const { return IsAsciiLower(c) || IsAsciiUpper(c); }

void Utf8CodePage::ToUpper(char* p, std::size_t n) const {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (IsAsciiLower(c)) p[i] = static_cast<char>(c - 0x20);
    }
}

void Utf8CodePage::ToLower(char* p, std::size_t n) const {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (IsAsciiUpper(c)) p[i] = static_cast<char>(c + 0x20);
    }
}

std::string Utf8CodePage::FromUtf16(std::u16string_view text) const { return Utf8FromUtf16(text, U'?'); }

std::string Utf8CodePage::FromStored(std::string_view bytes) const {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Utf8FromUtf16(LegacyToUtf16(bytes), U'?');
}

std::u16string Utf8CodePage::LegacyToUtf16(std::string_view bytes) const {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const unsigned char c = static_cast<unsigned char>(b);
        char16_t u = c;
        if (c >= 0x80 && c < 0xA0 && k1252High[c - 0x80] != 0) u = k1252High[c - 0x80];
        out += u;
    }
    return out;
}

namespace {

// A code page described by four 256-entry tables: lead bytes of double-byte
// characters, letters, and the upper and lower forms of single bytes.
class TableCodePage : public CodePage {
public:
    std::array<bool, 256> lead{};
    std::array<bool, 256> alpha{};
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    // The UTF-16 unit of each single byte (0: none); double-byte characters
    // are not tabulated, so they convert to '?'.
    std::array<char16_t, 256> unicode{};

    TableCodePage() {
        for (int c = 0; c < 256; ++c) {
            upper[c] = lower[c] = static_cast<unsigned char>(c);
            if (c < 0x80) unicode[c] = static_cast<char16_t>(c);
        }
        for (int c = 'a'; c <= 'z'; ++c) {
            alpha[c] = alpha[c - 0x20] = true;
            upper[c] = static_cast<unsigned char>(c - 0x20);
            lower[c - 0x20] = static_cast<unsigned char>(c);
        }
    }
    void Pair(int up, int low) {
        alpha[up] = alpha[low] = true;
        upper[low] = static_cast<unsigned char>(up);
        lower[up] = static_cast<unsigned char>(low);
    }

    std::size_t CharLength(std::string_view s, std::size_t i) const override {
        return (lead[static_cast<unsigned char>(s[i])] && i + 1 < s.size()) ? 2 : 1;
    }
    bool IsAlpha(unsigned char c) const override { return alpha[c]; }
    void ToUpper(char* p, std::size_t n) const override { Map(p, n, upper); }
    void ToLower(char* p, std::size_t n) const override { Map(p, n, lower); }
    std::string FromUtf16(std::u16string_view text) const override {
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t u = text[i];
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
            char byte = '?';
            if (u < 0x80) {
                byte = static_cast<char>(u);
            } else {
                for (int c = 0x80; c < 256; ++c) {
                    if (unicode[c] == u && !lead[c]) {
                        byte = static_cast<char>(c);
                        break;
                    }
                }
            }
            out.push_back(byte);
        }
        return out;
    }

private:
    void Map(char* p, std::size_t n, const std::array<unsigned char, 256>& table) const {
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if (lead[c]) {
                ++i;  // a double-byte character stays as it is
                continue;
            }
            p[i] = static_cast<char>(table[c]);
        }
    }
};

std::unique_ptr<CodePage> Make1252() {
    auto cp = std::make_unique<TableCodePage>();
    // 0x80-0x9F hold punctuation and a few letters; 0xA0-0xFF are Latin-1.
    for (int c = 0x80; c < 0xA0; ++c) cp->unicode[c] = k1252High[c - 0x80];
    for (int c = 0xA0; c < 256; ++c) cp->unicode[c] = static_cast<char16_t>(c);
    cp->Pair(0x8A, 0x9A);  // S caron
    cp->Pair(0x8C, 0x9C);  // OE
    cp->Pair(0x8E, 0x9E);  // Z caron
    cp->Pair(0x9F, 0xFF);  // Y diaeresis
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) cp->Pair(c, c + 0x20);  // 0xD7 and 0xF7 are the signs for times and divide
    }
    // Letters without a case partner in this code page.
    for (int c : {0x83, 0xAA, 0xB5, 0xBA, 0xDF}) cp->alpha[c] = true;
    return cp;
}

std::unique_ptr<CodePage> Make932() {
    auto cp = std::make_unique<TableCodePage>();
    for (int c = 0x81; c <= 0x9F; ++c) cp->lead[c] = true;
    for (int c = 0xE0; c <= 0xFC; ++c) cp->lead[c] = true;
    // Single-byte katakana: 0xA6-0xDF are letters (the syllables and the two
    // sound marks); 0xA1-0xA5 are punctuation (full stop, brackets, comma,
    // middle dot). No case mapping beyond ASCII.
    for (int c = 0xA6; c <= 0xDF; ++c) cp->alpha[c] = true;
    for (int c = 0xA1; c <= 0xDF; ++c) cp->unicode[c] = static_cast<char16_t>(0xFF61 + (c - 0xA1));
    return cp;
}

}  // namespace

std::unique_ptr<CodePage> MakeUtf8CodePage() { return std::make_unique<Utf8CodePage>(); }

std::unique_ptr<CodePage> MakeTableCodePage(int number) {
    switch (number) {
        case 1252: return Make1252();
        case 932: return Make932();
        default: return nullptr;
    }
}

}  // namespace quorv
