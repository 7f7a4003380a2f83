#include "formats/string_list_record.h"

#include <algorithm>

#include "formats/int32_wrap.h"

namespace quorv {

// ---------------------------------------------------------------- reading

bool ByteReader::Fail(FileError error) {
    if (error_ == FileError::None) error_ = error;
    return false;
}

bool ByteReader::Take(std::size_t n, const char*& p) {
    if (error_ != FileError::None) return false;
    if (n > remaining()) {
        // Nothing of a value that does not fit is consumed.
        pos_ = bytes_.size();
        return Fail(FileError::EndOfFile);
    }
    p = bytes_.data() + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::ReadUInt8(std::uint8_t& value) {
    const char* p = nullptr;
    if (!Take(1, p)) return false;
    value = static_cast<std::uint8_t>(p[0]);
    return true;
}

bool ByteReader::ReadUInt16(std::uint16_t& value) {
    const char* p = nullptr;
    if (!Take(2, p)) return false;
    value = static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                       (static_cast<unsigned char>(p[1]) << 8));
    return true;
}

bool ByteReader::ReadUInt32(std::uint32_t& value) {
    const char* p = nullptr;
    if (!Take(4, p)) return false;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    value = v;
    return true;
}

bool ByteReader::ReadUInt64(std::uint64_t& value) {
    const char* p = nullptr;
    if (!Take(8, p)) return false;
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    value = v;
    return true;
}

bool ByteReader::ReadInt32(std::int32_t& value) {
    std::uint32_t u = 0;
    if (!ReadUInt32(u)) return false;
    value = WrapToInt32(u);
    return true;
}

bool ByteReader::ReadStringLength(std::uint32_t& length, bool& wide) {
    wide = false;
    std::uint8_t b = 0;
    if (!ReadUInt8(b)) return false;
    if (b < 0xFF) {
        length = b;
        return true;
    }
    std::uint16_t w = 0;
    if (!ReadUInt16(w)) return false;
    if (w == 0xFFFE) {
        // The wide mark; the length prefix that follows counts code units.
        wide = true;
        if (!ReadUInt8(b)) return false;
        if (b < 0xFF) {
            length = b;
            return true;
        }
        if (!ReadUInt16(w)) return false;
    }
    if (w < 0xFFFF) {
        length = w;
        return true;
    }
    std::uint32_t d = 0;
    if (!ReadUInt32(d)) return false;
    if (d < 0xFFFFFFFFu) {
        length = d;
        return true;
    }
    std::uint64_t q = 0;
    if (!ReadUInt64(q)) return false;
    if (q > 0x7FFFFFFFu) return Fail(FileError::Generic);
    length = static_cast<std::uint32_t>(q);
    return true;
}

bool ByteReader::ReadString(std::string& value) {
    std::uint32_t length = 0;
    bool wide = false;
    if (!ReadStringLength(length, wide)) return false;
    const std::uint64_t byteCount = wide ? 2 * static_cast<std::uint64_t>(length) : length;
    if (byteCount > remaining()) {
        // Checked before anything is allocated: a hostile length costs nothing.
        pos_ = bytes_.size();
        return Fail(FileError::EndOfFile);
    }
    const char* p = nullptr;
    if (!Take(static_cast<std::size_t>(byteCount), p)) return false;
    if (!wide) {
        value = codePage_->FromStored(std::string_view(p, static_cast<std::size_t>(byteCount)));
        return true;
    }
    std::u16string units(length, u'\0');
    for (std::uint32_t i = 0; i < length; ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(p[2 * i]) |
                                         (static_cast<unsigned char>(p[2 * i + 1]) << 8));
    }
    value = codePage_->FromUtf16(units);
    return true;
}

bool ByteReader::ReadStringList(std::vector<std::string>& lines) {
    lines.clear();
    std::uint16_t shortCount = 0;
    if (!ReadUInt16(shortCount)) return false;
    std::uint32_t count = shortCount;
    if (shortCount == 0xFFFF && !ReadUInt32(count)) return false;
    // Every string takes at least one byte, so the bytes left bound what a
    // genuine count can be; a larger one fails at the end of the bytes. The
    // list grows with what is actually read, never with what a count claims.
    lines.reserve(std::min<std::size_t>({static_cast<std::size_t>(count), remaining(),
                                         static_cast<std::size_t>(4096)}));
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string line;
        if (!ReadString(line)) return false;
        lines.push_back(std::move(line));
    }
    return true;
}

// ---------------------------------------------------------------- writing

void ByteWriter::WriteUInt8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }

void ByteWriter::WriteUInt16(std::uint16_t value) {
    WriteUInt8(static_cast<std::uint8_t>(value & 0xFF));
    WriteUInt8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::WriteUInt32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) WriteUInt8(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void ByteWriter::WriteUInt64(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) WriteUInt8(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void ByteWriter::WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }

void ByteWriter::WriteStringLength(std::uint64_t length) {
    if (length < 0xFF) {
        WriteUInt8(static_cast<std::uint8_t>(length));
        return;
    }
    WriteUInt8(0xFF);
    // 0xFFFE would read as the wide mark, so two bytes stop at 0xFFFD.
    if (length < 0xFFFE) {
        WriteUInt16(static_cast<std::uint16_t>(length));
        return;
    }
    WriteUInt16(0xFFFF);
    if (length < 0xFFFFFFFFu) {
        WriteUInt32(static_cast<std::uint32_t>(length));
        return;
    }
    WriteUInt32(0xFFFFFFFFu);
    WriteUInt64(length);
}

void ByteWriter::WriteString(std::string_view value) {
    WriteStringLength(value.size());
    bytes_.append(value.data(), value.size());
}

void ByteWriter::WriteStringList(const std::vector<std::string>& lines) {
    std::size_t needed = 6;
    for (const std::string& line : lines) needed += line.size() + 3;
    bytes_.reserve(bytes_.size() + needed);
    const std::uint64_t count = lines.size();
    if (count < 0xFFFF) {
        WriteUInt16(static_cast<std::uint16_t>(count));
    } else {
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<std::uint32_t>(count));
    }
    for (const std::string& line : lines) WriteString(line);
}

std::string EncodeStringList(const std::vector<std::string>& lines) {
    ByteWriter writer;
    writer.WriteStringList(lines);
    return writer.Take();
}

FileError DecodeStringList(std::string_view bytes, const CodePage& codePage, std::vector<std::string>& lines) {
    ByteReader reader(bytes, codePage);
    reader.ReadStringList(lines);
    return reader.error();
}

}  // namespace quorv
