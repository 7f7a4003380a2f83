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

#include "platform/filesystem.h"

namespace quorv {

// What went wrong while reading or writing one of the program's files.
enum class FileError {
    None,
    EndOfFile,  // "An attempt was made to access %1 past its end."
    Generic,    // "An unknown error occurred while accessing %1."
    DiskFull,   // "Disk full while accessing %1."
};

// The name shown in place of %1 for errors found while reading.
inline constexpr const char* kUnnamedFile = "an unnamed file";

// The user's message for an error, %1 replaced by name; empty for None.
std::string FileErrorText(FileError error, const std::string& name);

// The error for a failed whole-file write or read.
FileError FileErrorFromIo(IoResult result);

// Converts UTF-16 text (little-endian code units already combined) to the
// program's 8-bit text: the ANSI code page on Windows, UTF-8 natively.
// Characters the code page cannot hold become '?'.
std::string WideToNarrow(const std::u16string& wide);

// A cursor over stored bytes. Every Read* returns false once an error is
// set (the first error sticks); on failure the output keeps what was read.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    // The reader only views the bytes: a temporary would vanish under it.
    explicit ByteReader(std::string&&) = delete;

    bool ReadUInt8(std::uint8_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadUInt64(std::uint64_t& value);
    bool ReadInt32(std::int32_t& value);

    // A string's length prefix; wide is set for the UTF-16 form. The length
    // counts bytes for narrow strings and code units for wide ones.
    bool ReadStringLength(std::uint32_t& length, bool& wide);

    // One length-prefixed string (narrow, or wide converted to 8-bit text).
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
    std::size_t pos_ = 0;
    FileError error_ = FileError::None;
};

// Appends stored values to a byte string. Strings are always written in the
// single-byte form.
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
FileError DecodeStringList(std::string_view bytes, std::vector<std::string>& lines);

}  // namespace quorv
