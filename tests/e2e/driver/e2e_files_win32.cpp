#include "tests/e2e/driver/e2e_files_win32.h"

#include <windows.h>

namespace quorv::e2e {

std::string ReadBytes(const std::string& path) { return test::ReadBytes(test::Widen(path)).value_or(std::string()); }

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---------------------------------------------------------------- formats

std::string Int32Bytes(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return bytes;
}

namespace {

std::string Int16Bytes(std::uint32_t value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

// Reads the records back: lengths of 1, 3 or 7 bytes and counts of 2 or 6.
class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Int32(std::int32_t& value) {
        std::uint32_t u = 0;
        if (!Unsigned(4, u)) return false;
        value = static_cast<std::int32_t>(u);
        return true;
    }
    bool Box(bool& value) {
        std::int32_t v = 0;
        if (!Int32(v) || (v != 0 && v != 1)) return false;
        value = v == 1;
        return true;
    }
    bool String(std::string& text) {
        std::uint32_t length = 0;
        if (!Unsigned(1, length)) return false;
        if (length == 0xFF) {
            if (!Unsigned(2, length)) return false;
            if (length == 0xFFFF && !Unsigned(4, length)) return false;
        }
        if (bytes_.size() - at_ < length) return false;
        text = bytes_.substr(at_, length);
        at_ += length;
        return true;
    }
    bool List(std::vector<std::string>& lines) {
        std::uint32_t count = 0;
        if (!Unsigned(2, count)) return false;
        if (count == 0xFFFF && !Unsigned(4, count)) return false;
        lines.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string line;
            if (!String(line)) return false;
            lines.push_back(line);
        }
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    bool Unsigned(int size, std::uint32_t& value) {
        if (bytes_.size() - at_ < static_cast<std::size_t>(size)) return false;
        value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(i)]))
                     << (8 * i);
        at_ += static_cast<std::size_t>(size);
        return true;
    }

    const std::string& bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::string LengthPrefixed(const std::string& text) {
    const std::size_t length = text.size();
    std::string bytes;
    if (length <= 254) {
        bytes.push_back(static_cast<char>(length));
    } else if (length <= 0xFFFD) {
        bytes.push_back(static_cast<char>(0xFF));
        bytes += Int16Bytes(static_cast<std::uint32_t>(length));
    } else {
        bytes += std::string("\xFF\xFF\xFF", 3);
        bytes += Int32Bytes(static_cast<std::int32_t>(length));
    }
    return bytes + text;
}

std::string StringListRecord(const std::vector<std::string>& lines) {
    std::string bytes;
    if (lines.size() < 0xFFFF) {
        bytes = Int16Bytes(static_cast<std::uint32_t>(lines.size()));
    } else {
        bytes = std::string("\xFF\xFF", 2) + Int32Bytes(static_cast<std::int32_t>(lines.size()));
    }
    for (const std::string& line : lines) bytes += LengthPrefixed(line);
    return bytes;
}

std::string SettingsBytes(const SettingsRecord& s) {
    return Int32Bytes(s.caseSensitive) + Int32Bytes(s.quickView) + Int32Bytes(s.exclude) + Int32Bytes(s.subdir) +
           LengthPrefixed(s.lastFolder) + LengthPrefixed(s.copyMoveFolder) + Int32Bytes(s.shellMenu) +
           Int32Bytes(s.theme) + Int32Bytes(s.width) + Int32Bytes(s.height) + Int32Bytes(s.maximized);
}

bool ParseSettings(const std::string& bytes, SettingsRecord& s) {
    Reader r(bytes);
    std::int32_t theme = 0, width = 0, height = 0;
    const bool ok = r.Box(s.caseSensitive) && r.Box(s.quickView) && r.Box(s.exclude) && r.Box(s.subdir) &&
                    r.String(s.lastFolder) && r.String(s.copyMoveFolder) && r.Box(s.shellMenu) && r.Int32(theme) &&
                    r.Int32(width) && r.Int32(height) && r.Box(s.maximized) && r.AtEnd();
    s.theme = theme;
    s.width = width;
    s.height = height;
    return ok;
}

std::string BatchBytes(const BatchRecord& b) {
    return StringListRecord(b.master) + StringListRecord(b.displayed) + StringListRecord(b.runRecord) +
           StringListRecord(b.rules) + Int32Bytes(b.undo ? 1 : 0);
}

bool ParseBatch(const std::string& bytes, BatchRecord& b) {
    Reader r(bytes);
    return r.List(b.master) && r.List(b.displayed) && r.List(b.runRecord) && r.List(b.rules) && r.Box(b.undo) &&
           r.AtEnd();
}

std::string HandoffBytes(const std::vector<std::string>& paths) {
    std::string bytes;
    for (const std::string& path : paths) bytes += path + "\r\n";
    return bytes;
}

}  // namespace quorv::e2e
