// The system code page on Windows: the process's ANSI code page.
//
// A double-byte or single-byte ANSI code page (the system's, on Windows
// that ignores the program's UTF-8 manifest): lead bytes, letters and the
// case forms of single bytes are asked of the system once and kept in
// tables, so that a case mapping never touches a double-byte character.
//
// UTF-8 (the manifest honoured): the table UTF-8 page steps over the
// sequences; letters and letter case of the whole of Unicode come from the
// system's wide-character functions (GetStringTypeW, CharUpperBuffW and
// CharLowerBuffW, as CharUpperBuffA uses them for an ANSI page), asked
// once for the whole Basic Multilingual Plane and per character beyond it.
// A character whose other case has another length in UTF-8 stays as it is:
// every rule counts bytes, and a mapping happens in place.
#include <windows.h>

#include <array>
#include <climits>
#include <cstdio>
#include <vector>

#include "platform/codepage.h"
#include "platform/codepage_utf8.h"
#include "platform/utf8.h"
#include "system/system.h"
#include "system/text_win32.h"

namespace quorv {
namespace {

class AnsiCodePage : public CodePage {
public:
    AnsiCodePage() {
        for (int c = 0; c < 256; ++c) {
            const unsigned char b = static_cast<unsigned char>(c);
            lead_[c] = IsDBCSLeadByteEx(CP_ACP, b) != FALSE;
            upper_[c] = lower_[c] = b;
            alpha_[c] = false;
            if (lead_[c] || c == 0) continue;
            alpha_[c] = IsCharAlphaA(static_cast<CHAR>(b)) != FALSE;
            CHAR one[1] = {static_cast<CHAR>(b)};
            CharUpperBuffA(one, 1);
            upper_[c] = static_cast<unsigned char>(one[0]);
            one[0] = static_cast<CHAR>(b);
            CharLowerBuffA(one, 1);
            lower_[c] = static_cast<unsigned char>(one[0]);
        }
    }
    std::size_t CharLength(std::string_view s, std::size_t i) const override {
        return (lead_[static_cast<unsigned char>(s[i])] && i + 1 < s.size()) ? 2 : 1;
    }
    bool IsAlpha(unsigned char c) const override { return alpha_[c]; }
    void ToUpper(char* p, std::size_t n) const override { Map(p, n, upper_); }
    void ToLower(char* p, std::size_t n) const override { Map(p, n, lower_); }
    std::string FromUtf16(std::u16string_view text) const override {
        static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");
        if (text.empty()) return std::string();
        if (text.size() > static_cast<std::size_t>(INT_MAX / 4)) return std::string(text.size(), '?');
        // No ANSI code page holds a character beyond the first plane, and the
        // system would make two '?' of its surrogate pair: it is one '?' here.
        std::u16string single;
        if (HasSurrogate(text)) {
            single = OnePerCharacter(text);
            text = single;
        }
        const wchar_t* src = reinterpret_cast<const wchar_t*>(text.data());
        const int units = static_cast<int>(text.size());
        // No best fit: a character the code page lacks becomes '?', never a
        // look-alike that would name another file.
        const DWORD flags = WC_NO_BEST_FIT_CHARS;
        const char kDefault[] = "?";
        const int needed = WideCharToMultiByte(CP_ACP, flags, src, units, nullptr, 0, kDefault, nullptr);
        if (needed <= 0) return CodePage::FromUtf16(text);
        std::string out(static_cast<std::size_t>(needed), '\0');
        const int written = WideCharToMultiByte(CP_ACP, flags, src, units, &out[0], needed, kDefault, nullptr);
        if (written <= 0) return CodePage::FromUtf16(text);
        out.resize(static_cast<std::size_t>(written));
        return out;
    }
    // FromStored: the base version (valid UTF-8 through FromUtf16, anything
    // else is this page's own legacy text).

private:
    static bool HasSurrogate(std::u16string_view text) {
        for (char16_t u : text) {
            if (u >= 0xD800 && u <= 0xDFFF) return true;
        }
        return false;
    }
    static std::u16string OnePerCharacter(std::u16string_view text) {
        std::u16string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t u = text[i];
            if (u < 0xD800 || u > 0xDFFF) {
                out += u;
                continue;
            }
            if (u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
            out += u'?';
        }
        return out;
    }
    void Map(char* p, std::size_t n, const std::array<unsigned char, 256>& table) const {
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if (lead_[c]) {
                ++i;
                continue;
            }
            p[i] = static_cast<char>(table[c]);
        }
    }
    std::array<bool, 256> lead_{};
    std::array<bool, 256> alpha_{};
    std::array<unsigned char, 256> upper_{};
    std::array<unsigned char, 256> lower_{};
};

constexpr std::size_t kPlane = 0x10000;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

class Win32Utf8CodePage : public Utf8CodePage {
public:
    explicit Win32Utf8CodePage(unsigned legacy)
        : legacy_(legacy), upper_(kPlane), lower_(kPlane), alpha_(kPlane, false) {
        std::vector<wchar_t> all(kPlane);
        for (std::size_t c = 0; c < kPlane; ++c) all[c] = static_cast<wchar_t>(c);
        std::vector<WORD> types(kPlane, 0);
        if (!GetStringTypeW(CT_CTYPE1, all.data(), static_cast<int>(kPlane), types.data()))
            types.assign(kPlane, 0);
        std::vector<wchar_t> up = all, low = all;
        CharUpperBuffW(up.data(), static_cast<DWORD>(kPlane));
        CharLowerBuffW(low.data(), static_cast<DWORD>(kPlane));
        for (std::size_t c = 0; c < kPlane; ++c) {
            const bool surrogate = IsSurrogate(static_cast<char32_t>(c));
            alpha_[c] = !surrogate && (types[c] & C1_ALPHA) != 0;
            upper_[c] = surrogate || IsSurrogate(up[c]) ? static_cast<char16_t>(c) : static_cast<char16_t>(up[c]);
            lower_[c] = surrogate || IsSurrogate(low[c]) ? static_cast<char16_t>(c) : static_cast<char16_t>(low[c]);
        }
    }

    bool IsLetter(std::string_view character) const override {
        if (character.empty()) return false;
        if (character.size() == 1) return IsAlpha(static_cast<unsigned char>(character[0]));
        if (Utf8CharLength(character, 0) != character.size()) return false;
        const char32_t c = DecodeUtf8(character, 0, character.size());
        if (c < kPlane) return alpha_[c];
        wchar_t pair[2];
        ToPair(c, pair);
        WORD types[2] = {0, 0};
        if (!GetStringTypeW(CT_CTYPE1, pair, 2, types)) return false;
        return ((types[0] | types[1]) & C1_ALPHA) != 0;
    }

    void ToUpper(char* p, std::size_t n) const override { Map(p, n, true); }
    void ToLower(char* p, std::size_t n) const override { Map(p, n, false); }

protected:
    std::u16string LegacyToUtf16(std::string_view bytes) const override {
        if (bytes.empty()) return std::u16string();
        if (bytes.size() <= static_cast<std::size_t>(INT_MAX)) {
            const int length = static_cast<int>(bytes.size());
            const int needed = MultiByteToWideChar(legacy_, 0, bytes.data(), length, nullptr, 0);
            if (needed > 0) {
                std::wstring wide(static_cast<std::size_t>(needed), L'\0');
                const int got = MultiByteToWideChar(legacy_, 0, bytes.data(), length, &wide[0], needed);
                if (got > 0) return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), static_cast<std::size_t>(got));
            }
        }
        return Utf8CodePage::LegacyToUtf16(bytes);
    }

private:
    static void ToPair(char32_t c, wchar_t pair[2]) {
        pair[0] = static_cast<wchar_t>(0xD800 + ((c - kPlane) >> 10));
        pair[1] = static_cast<wchar_t>(0xDC00 + ((c - kPlane) & 0x3FF));
    }

    // The other case of a character beyond ASCII; the character itself when
    // it has none.
    char32_t Other(char32_t c, bool upper) const {
        if (c < kPlane) return upper ? upper_[c] : lower_[c];
        wchar_t pair[2];
        ToPair(c, pair);
        if (upper) CharUpperBuffW(pair, 2);
        else CharLowerBuffW(pair, 2);
        if (pair[0] < 0xD800 || pair[0] > 0xDBFF || pair[1] < 0xDC00 || pair[1] > 0xDFFF) return c;
        return kPlane + ((static_cast<char32_t>(pair[0]) - 0xD800) << 10) + (static_cast<char32_t>(pair[1]) - 0xDC00);
    }

    void Map(char* p, std::size_t n, bool upper) const {
        const std::string_view text(p, n);
        for (std::size_t i = 0; i < n;) {
            const unsigned char b = static_cast<unsigned char>(p[i]);
            if (b < 0x80) {
                // ASCII letters keep to ASCII whatever the locale says.
                if (upper && b >= 'a' && b <= 'z') p[i] = static_cast<char>(b - 0x20);
                if (!upper && b >= 'A' && b <= 'Z') p[i] = static_cast<char>(b + 0x20);
                ++i;
                continue;
            }
            const std::size_t length = Utf8CharLength(text, i);
            if (length > 1) {
                const char32_t c = DecodeUtf8(text, i, length);
                const char32_t other = Other(c, upper);
                if (other != c && Utf8Length(other) == length) {
                    std::string bytes;
                    AppendUtf8(bytes, other);
                    bytes.copy(p + i, length);
                }
            }
            i += length;
        }
    }

    unsigned legacy_;
    std::vector<char16_t> upper_;
    std::vector<char16_t> lower_;
    std::vector<bool> alpha_;
};

std::unique_ptr<CodePage> MakeSystemPage() {
    if (GetACP() == CP_UTF8) return std::make_unique<Win32Utf8CodePage>(win::LegacyAnsiCodePage());
    return std::make_unique<AnsiCodePage>();
}

}  // namespace

const CodePage& SystemCodePage() {
    static const std::unique_ptr<CodePage> page = MakeSystemPage();
    return *page;
}

namespace {

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != FALSE;
}

}  // namespace

ConsoleOutputText::ConsoleOutputText() {
    if (GetACP() != CP_UTF8 || (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE))) return;
    const UINT current = GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8) return;
    if (SetConsoleOutputCP(CP_UTF8)) previous_ = current;
}

ConsoleOutputText::~ConsoleOutputText() {
    if (previous_ == 0) return;
    // What is still buffered goes out in UTF-8 too.
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(previous_);
}

}  // namespace quorv
