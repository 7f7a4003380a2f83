// MP3 tags and MPEG header information through id3lib, on both builds.
//
// One TagFile is one id3lib tag object linked to the file with every tag
// kind (ID3v1 and ID3v2 together, as the library merges them). id3lib
// reports failures as empty results; anything it might still throw (an
// allocation failure on a damaged size field) is caught here and turns into
// "nothing found".
#include <id3/globals.h>
#include <id3/readers.h>
#include <id3/tag.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/media.h"
#include "platform/media_text.h"
#include "system/system.h"

#if !defined(_WIN32)
#include <zlib.h>

// id3lib's reader of compressed frames hands zlib the address of a 32-bit
// length where zlib writes an unsigned long. Where long has 64 bits (Linux)
// that overwrites the stack beside it, and one damaged or hostile MP3 takes
// the program down. This definition stands in for zlib's (the program's
// definition comes first for the shared id3lib) and writes back only the
// low 32 bits, which is all a length of a buffer below 4 GiB has; callers
// that pass a real unsigned long keep their zero upper half. On Windows
// long has 32 bits and zlib is linked as it is.
static_assert(sizeof(uLongf) == 8 || sizeof(uLongf) == 4, "unexpected unsigned long");
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the 32-bit length write-back below assumes little-endian"
#endif
extern "C" int uncompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen) {
    std::uint32_t length32 = 0;
    std::memcpy(&length32, destLen, sizeof length32);
    uLongf length = length32;
    uLong consumed = sourceLen;
    const int result = uncompress2(dest, &length, source, &consumed);
    length32 = static_cast<std::uint32_t>(length);
    std::memcpy(destLen, &length32, sizeof length32);
    return result;
}
#endif

namespace quorv {
namespace {

// The library's frame of each field the engine reads (in the order of TagField).
constexpr ID3_FrameID kFrames[kTagFieldCount] = {
    ID3FID_ALBUM,     ID3FID_LEADARTIST, ID3FID_TITLE,     ID3FID_TRACKNUM, ID3FID_YEAR,       ID3FID_COMMENT,
    ID3FID_CONTENTTYPE, ID3FID_COMPOSER, ID3FID_COPYRIGHT, ID3FID_ENCODEDBY, ID3FID_ORIGARTIST, ID3FID_WWWUSER,
    ID3FID_PUBLISHER, ID3FID_TIME,       ID3FID_LANGUAGE,  ID3FID_SUBTITLE,
};
static_assert(static_cast<int>(TagField::SubTitle) + 1 == kTagFieldCount, "a frame for every tag field");

// The text of a UTF-16 field. id3lib keeps UTF-16 text big-endian with the
// byte-order mark already removed; the text ends at the first NUL (a frame
// may hold several strings; the first is the frame's text).
std::string Utf16FieldText(const ID3_Field& field, const CodePage& codePage) {
    const unicode_t* raw = field.GetRawUnicodeText();
    if (raw == nullptr) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw);
    const std::size_t size = field.Size();  // bytes, for text fields
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit == 0) break;
        text += unit;
    }
    return codePage.FromUtf16(text);
}

// A single-byte field's first string.
std::string Latin1FieldText(const ID3_Field& field) {
    const char* raw = field.GetRawText();
    if (raw == nullptr) return {};
    return NarrowFromLatin1(std::string(raw));
}

class Id3libTagFile : public TagFile {
public:
    // The library opens the file by its path.
    Id3libTagFile(const std::string& path, const CodePage& codePage) : codePage_(&codePage) {
        tag_.Link(path.c_str(), kAllTags);
    }
    // The library reads the file's bytes, kept as long as the tag.
    struct FromBytes {};
    Id3libTagFile(FromBytes, std::string bytes, const CodePage& codePage)
        : codePage_(&codePage), bytes_(std::move(bytes)) {
        ID3_MemoryReader reader(bytes_.data(), bytes_.size());
        tag_.Link(reader, kAllTags);
    }

    bool HasV2Tag() const override {
        try {
            return tag_.HasV2Tag();
        } catch (...) {
            return false;
        }
    }

    bool FrameText(TagField field, std::string& text) const override {
        text.clear();
        try {
            const auto index = static_cast<std::size_t>(field);
            if (index >= static_cast<std::size_t>(kTagFieldCount)) return false;
            ID3_Frame* frame = tag_.Find(kFrames[index]);
            if (frame == nullptr || !frame->Contains(ID3FN_TEXTENC)) return false;
            ID3_Field* data = nullptr;
            if (frame->Contains(ID3FN_TEXT)) {
                data = frame->GetField(ID3FN_TEXT);
            } else if (frame->Contains(ID3FN_URL)) {
                data = frame->GetField(ID3FN_URL);
            }
            if (data == nullptr) return false;
            switch (data->GetEncoding()) {
                case ID3TE_ISO8859_1:
                    text = Latin1FieldText(*data);
                    break;
                case ID3TE_UTF16:
                    // Converted here: the library's own UTF-16 to ISO-8859-1
                    // conversion mangles every non-ASCII character.
                    text = Utf16FieldText(*data, *codePage_);
                    break;
                default:
                    // UTF-16BE without a byte-order mark and UTF-8 (ID3v2.4
                    // only): the library offers no raw access to them, so
                    // take its own conversion to ISO-8859-1.
                    data->SetEncoding(ID3TE_ISO8859_1);
                    text = Latin1FieldText(*data);
                    break;
            }
            return true;
        } catch (...) {
            text.clear();
            return false;
        }
    }

    bool HeaderInfo(Mp3Header& out) const override {
        out = Mp3Header{};
        try {
            const Mp3_Headerinfo* info = tag_.GetMp3HeaderInfo();
            if (info == nullptr) return false;
            out.bitRate = static_cast<std::uint32_t>(info->bitrate);
            out.vbrBitRate = info->vbr_bitrate;
            out.frequency = info->frequency;
            return true;
        } catch (...) {
            out = Mp3Header{};
            return false;
        }
    }

private:
    static constexpr flags_t kAllTags = static_cast<flags_t>(0xFFFF);
    // Find and GetMp3HeaderInfo are const; the frames they return are not.
    mutable ID3_Tag tag_;
    const CodePage* codePage_;
    std::string bytes_;
};

class Id3libTagReader : public TagReader {
public:
    explicit Id3libTagReader(const CodePage& codePage) : codePage_(&codePage) {}
    std::unique_ptr<TagFile> Open(const std::string& path) override {
        try {
            // id3lib treats a file it cannot open as a file without tags;
            // the engine wants to know the difference, so try it first.
            std::FILE* probe = std::fopen(path.c_str(), "rb");
            if (probe != nullptr) {
                std::fclose(probe);
                return std::make_unique<Id3libTagFile>(path, *codePage_);
            }
#ifdef _WIN32
            // The C library opens only what the plain narrow path reaches (no
            // path beyond MAX_PATH): the file system reads such a file, and
            // the library takes its bytes from memory.
            std::string bytes;
            if (SystemFileSystem().ReadFile(path, bytes) != IoResult::Ok) return nullptr;
            return std::make_unique<Id3libTagFile>(Id3libTagFile::FromBytes{}, std::move(bytes), *codePage_);
#else
            return nullptr;
#endif
        } catch (...) {
            return nullptr;
        }
    }

private:
    const CodePage* codePage_;
};

}  // namespace

std::unique_ptr<TagReader> MakeId3libTagReader(const CodePage& codePage) {
    return std::make_unique<Id3libTagReader>(codePage);
}

}  // namespace quorv
