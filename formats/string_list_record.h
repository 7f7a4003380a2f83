#pragma once
// The program's stored building blocks: little-endian integers, length-
// prefixed strings and string list records (a count, then each line with its
// length prefix). Rule files are one string list record; batch files hold
// four of them and an integer; the settings file holds integers and single
// strings.
//
// Reading works on a byte cursor so that a file made of several parts can be
// read in sequence. A damaged or hostile file never reads past the end of the
// bytes, never allocates more than the remaining bytes could hold, and leaves
// an error behind that the caller turns into the user's message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/file_error.h"
#include "platform/codepage.h"

namespace quorv {

// A cursor over stored bytes. Every Read* returns false once an error is
// set (the first error sticks); on failure the output keeps what was read.
//
// Strings become narrow text of the code page: the single-byte form through
// FromStored (valid UTF-8 is UTF-8, anything else the system's legacy ANSI
// code page, so files of every version and system load), the wide (UTF-16)
// form through FromUtf16 (a character the page cannot hold becomes '?').
class ByteReader {
public:
    ByteReader(std::string_view bytes, const CodePage& codePage) : bytes_(bytes), codePage_(&codePage) {}
    // The reader only views the bytes: a temporary would vanish under it.
    ByteReader(std::string&&, const CodePage&) = delete;

    bool ReadUInt8(std::uint8_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadUInt64(std::uint64_t& value);
    bool ReadInt32(std::int32_t& value);

    // A string's length prefix; wide is set for the UTF-16 form. The length
    // counts bytes for narrow strings and code units for wide ones.
    bool ReadStringLength(std::uint32_t& length, bool& wide);

    // One length-prefixed string as narrow text of the code page.
    bool ReadString(std::string& value);

    // A string list record. The list is replaced; when reading fails it holds
    // the strings read before the fault.
    bool ReadStringList(std::vector<std::string>& lines);

    FileError error() const { return error_; }
    bool ok() const { return error_ == FileError::None; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

private:
    bool Take(std::size_t n, const char*& p);
    bool Fail(FileError error);

    std::string_view bytes_;
    const CodePage* codePage_;
    std::size_t pos_ = 0;
    FileError error_ = FileError::None;
};

// Appends stored values to a byte string. Strings are always written in the
// single-byte form, as the narrow text they are (UTF-8 where the program's
// text is UTF-8).
class ByteWriter {
public:
    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteInt32(std::int32_t value);
    void WriteStringLength(std::uint64_t length);
    void WriteString(std::string_view value);
    void WriteStringList(const std::vector<std::string>& lines);

    const std::string& bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// One string list record as bytes.
std::string EncodeStringList(const std::vector<std::string>& lines);

// Reads one string list record from the start of bytes; bytes after it are
// not looked at. On failure lines holds the strings read before the fault.
FileError DecodeStringList(std::string_view bytes, const CodePage& codePage, std::vector<std::string>& lines);

}  // namespace quorv
