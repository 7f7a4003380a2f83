#include "view/online_update.h"

#include <cstdint>

namespace quorv {

const char kNoConnectionMessage[] =
    "Quorvane 2 could not connect to its web site to look for a newer version.\r\n"
    "Please check the connection to the Internet and try again later.";

namespace {

constexpr unsigned kMaxVersionPart = 65535;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWith(std::string_view s, std::string_view head) { return s.substr(0, head.size()) == head; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t LittleEndian16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// A decimal number of 0 to max; false for anything else (a sign, a blank,
// nothing, too many digits).
bool ParseNumber(std::string_view text, unsigned max, unsigned& out) {
    if (text.empty() || text.size() > 5) return false;
    unsigned v = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > max) return false;
    out = v;
    return true;
}

}  // namespace

// ---------------------------------------------------------------- versions

bool ParseVersion(std::string_view text, ProgramVersion& out) {
    ProgramVersion v;
    std::size_t part = 0;
    for (;;) {
        if (part == v.parts.size()) return false;
        const std::size_t dot = text.find('.');
        if (!ParseNumber(text.substr(0, dot), kMaxVersionPart, v.parts[part])) return false;
        ++part;
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    out = v;
    return true;
}

int CompareVersions(const ProgramVersion& a, const ProgramVersion& b) {
    for (std::size_t i = 0; i < a.parts.size(); ++i) {
        if (a.parts[i] < b.parts[i]) return -1;
        if (a.parts[i] > b.parts[i]) return 1;
    }
    return 0;
}

std::string VersionText(const ProgramVersion& v) {
    std::string text = std::to_string(v.parts[0]) + "." + std::to_string(v.parts[1]) + "." + std::to_string(v.parts[2]);
    if (v.parts[3] != 0) text += "." + std::to_string(v.parts[3]);
    return text;
}

bool VersionOfResource(std::string_view resource, ProgramVersion& out) {
    // VS_VERSIONINFO: its length, the length of its value, its type, the key
    // "VS_VERSION_INFO" in UTF-16 with its terminator, padding to 32 bits,
    // then the fixed file information: a signature, the structure's
    // version, and the file version as two 32-bit halves.
    constexpr std::uint32_t kSignature = 0xFEEF04BDu;
    constexpr std::size_t kFixedSize = 52;
    const std::u16string_view key = u"VS_VERSION_INFO";
    if (resource.size() < 6) return false;
    const std::size_t length = LittleEndian16(resource, 0);
    const std::size_t valueLength = LittleEndian16(resource, 2);
    if (length > resource.size() || valueLength < kFixedSize) return false;
    std::size_t at = 6;
    for (char16_t c : key) {
        if (at + 2 > length || LittleEndian16(resource, at) != c) return false;
        at += 2;
    }
    if (at + 2 > length || LittleEndian16(resource, at) != 0) return false;
    at = (at + 2 + 3) & ~static_cast<std::size_t>(3);
    if (at + kFixedSize > length || LittleEndian32(resource, at) != kSignature) return false;
    const std::uint32_t high = LittleEndian32(resource, at + 8);
    const std::uint32_t low = LittleEndian32(resource, at + 12);
    out.parts = {high >> 16, high & 0xFFFFu, low >> 16, low & 0xFFFFu};
    return true;
}

// ---------------------------------------------------------------- the version file

bool ParseVersionFile(std::string_view bytes, VersionFile& out) {
    if (bytes.size() > kVersionFileLimit) return false;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    // One line: a line end may close it, nothing may follow.
    const std::size_t end = bytes.find_first_of("\r\n");
    if (end != std::string_view::npos) {
        if (bytes.substr(end).find_first_not_of("\r\n") != std::string_view::npos) return false;
        bytes = bytes.substr(0, end);
    }
    while (!bytes.empty() && IsBlank(bytes.front())) bytes.remove_prefix(1);
    while (!bytes.empty() && IsBlank(bytes.back())) bytes.remove_suffix(1);
    std::size_t blank = 0;
    while (blank < bytes.size() && !IsBlank(bytes[blank])) ++blank;
    if (blank == bytes.size()) return false;
    std::size_t page = blank;
    while (page < bytes.size() && IsBlank(bytes[page])) ++page;
    VersionFile file;
    if (!ParseVersion(bytes.substr(0, blank), file.version)) return false;
    const std::string_view address = bytes.substr(page);
    for (char c : address)
        if (IsBlank(c) || static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E) return false;
    WebAddress parsed;
    if (!ParseWebAddress(address, parsed) || !parsed.secure) return false;
    file.downloadPage = std::string(address);
    out = file;
    return true;
}

// ---------------------------------------------------------------- addresses

bool ParseWebAddress(std::string_view text, WebAddress& out) {
    WebAddress a;
    const std::size_t scheme = text.find("://");
    if (scheme == std::string_view::npos) return false;
    if (EqualsIgnoringCase(text.substr(0, scheme), "https")) {
        a.secure = true;
        a.port = 443;
    } else if (EqualsIgnoringCase(text.substr(0, scheme), "http")) {
        a.secure = false;
        a.port = 80;
    } else {
        return false;
    }
    text.remove_prefix(scheme + 3);
    const std::size_t slash = text.find_first_of("/?#");
    std::string_view authority = text.substr(0, slash);
    if (slash != std::string_view::npos) {
        std::string_view rest = text.substr(slash);
        rest = rest.substr(0, rest.find('#'));  // a fragment is never sent
        a.path = rest.empty() || rest.front() != '/' ? "/" + std::string(rest) : std::string(rest);
    }
    if (authority.find('@') != std::string_view::npos) return false;  // no user names in an address we ask
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return false;
        a.host = std::string(authority.substr(1, close - 1));
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return false;
            port = after.substr(1);
        }
    } else {
        const std::size_t colon = authority.find(':');
        a.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) port = authority.substr(colon + 1);
    }
    if (a.host.empty()) return false;
    for (char c : a.host)
        if (IsBlank(c) || c == '/' || c == '\\') return false;
    if (!port.empty() || (authority.size() > 0 && authority.back() == ':')) {
        unsigned p = 0;
        if (!ParseNumber(port, 65535, p) || p == 0) return false;
        a.port = static_cast<int>(p);
    }
    out = a;
    return true;
}

bool IsLoopback(const WebAddress& address) {
    const std::string& h = address.host;
    if (EqualsIgnoringCase(h, "localhost") || h == "::1") return true;
    // 127.x.x.x: four numbers, the first 127.
    if (!StartsWith(h, "127.")) return false;
    std::string_view rest(h);
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = rest.find('.');
        unsigned v = 0;
        if ((part < 3) == (dot == std::string_view::npos)) return false;
        if (!ParseNumber(rest.substr(0, dot), 255, v)) return false;
        if (dot != std::string_view::npos) rest.remove_prefix(dot + 1);
    }
    return true;
}

std::string UpdateAddress(const std::string& makersAddress, const std::string& testAddress) {
    WebAddress test;
    if (!testAddress.empty() && ParseWebAddress(testAddress, test) && IsLoopback(test)) return testAddress;
    return makersAddress;
}

// ---------------------------------------------------------------- the check

std::string NewerVersionQuestion(const ProgramVersion& latest, const ProgramVersion& installed) {
    return "Quorvane 2 version " + VersionText(latest) + " is available (this is version " + VersionText(installed) +
           ").\r\nDo you want to open the download page and close Quorvane 2?";
}

std::string NewestVersionMessage(const ProgramVersion& installed) {
    return "You have the newest version of Quorvane 2 (version " + VersionText(installed) + ").";
}

UpdateCheck CheckForUpdate(const std::string& address, const ProgramVersion& installed, const FetchFile& fetch) {
    UpdateCheck check;
    check.message = kNoConnectionMessage;
    WebAddress where;
    if (!fetch || !ParseWebAddress(address, where)) return check;
    const FetchedFile fetched = fetch(where);
    VersionFile latest;
    if (!fetched.ok || !ParseVersionFile(fetched.body, latest)) return check;
    check.latest = latest;
    if (CompareVersions(latest.version, installed) > 0) {
        check.answer = UpdateAnswer::Newer;
        check.message = NewerVersionQuestion(latest.version, installed);
    } else {
        check.answer = UpdateAnswer::Newest;
        check.message = NewestVersionMessage(installed);
    }
    return check;
}

}  // namespace quorv
