// The system code page on Windows: the ANSI code page. Lead bytes, letters
// and the case forms of single bytes are asked of the system once and kept
// in tables, so that a case mapping never touches a double-byte character.
// A system whose ANSI code page is UTF-8 gets the UTF-8 code page.
#include <windows.h>

#include <array>
#include <climits>

#include "platform/codepage.h"
#include "platform/system.h"

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

private:
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

std::unique_ptr<CodePage> MakeSystemPage() {
    if (GetACP() == CP_UTF8) return MakeUtf8CodePage();
    return std::make_unique<AnsiCodePage>();
}

}  // namespace

const CodePage& SystemCodePage() {
    static const std::unique_ptr<CodePage> page = MakeSystemPage();
    return *page;
}

}  // namespace quorv
