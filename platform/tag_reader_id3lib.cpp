// MP3 tags and MPEG header information through id3lib, on both builds.
//
// One TagFile is one id3lib tag object linked to the file with every tag
// kind (ID3v1 and ID3v2 together, as the library merges them). id3lib
// reports failures as empty results; anything it might still throw (an
// allocation failure on a damaged size field) is caught here and turns into
// "nothing found".
#include <id3/globals.h>
#include <id3/tag.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "platform/media.h"
#include "platform/media_text.h"

namespace quorv {
namespace {

// The engine names frames by the library's frame ids; make sure this
// library agrees with the numbers the engine uses.
static_assert(ID3FID_COMMENT == 4 && ID3FID_ALBUM == 29 && ID3FID_COMPOSER == 31 &&
                  ID3FID_CONTENTTYPE == 32 && ID3FID_COPYRIGHT == 33 && ID3FID_ENCODEDBY == 42 &&
                  ID3FID_TIME == 45 && ID3FID_TITLE == 47 && ID3FID_SUBTITLE == 48 &&
                  ID3FID_LANGUAGE == 50 && ID3FID_ORIGARTIST == 58 && ID3FID_LEADARTIST == 61 &&
                  ID3FID_PUBLISHER == 67 && ID3FID_TRACKNUM == 68 && ID3FID_YEAR == 80 &&
                  ID3FID_WWWUSER == 92,
              "id3lib frame ids differ from the ones the engine uses");
static_assert(ID3FN_TEXTENC == 1 && ID3FN_TEXT == 2 && ID3FN_URL == 3, "id3lib field ids differ");

// The text of a UTF-16 field. id3lib keeps UTF-16 text big-endian with the
// byte-order mark already removed; the text ends at the first NUL (a frame
// may hold several strings; the first is the frame's text).
std::string Utf16FieldText(const ID3_Field& field) {
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
    return NarrowFromUtf16(text);
}

// A single-byte field's first string.
std::string Latin1FieldText(const ID3_Field& field) {
    const char* raw = field.GetRawText();
    if (raw == nullptr) return {};
    return NarrowFromLatin1(std::string(raw));
}

std::uint32_t SyncSafe(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0] & 0x7F) << 21) | (static_cast<std::uint32_t>(p[1] & 0x7F) << 14) |
           (static_cast<std::uint32_t>(p[2] & 0x7F) << 7) | static_cast<std::uint32_t>(p[3] & 0x7F);
}

std::uint32_t BigEndian32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

// Whether the ID3v2 tag at the start of the file may be handed to id3lib.
// Its reader of compressed frames corrupts memory on a 64-bit Linux build
// (it lets zlib write a 64-bit length into a 32-bit variable) and trusts the
// frame's claimed size for its buffer: one damaged or hostile file would
// take the whole program down. A tag holding a compressed (or encrypted)
// frame is therefore left out; the file's ID3v1 tag and MPEG header are
// still read. A file without an ID3v2 tag is safe.
bool Id3v2TagIsSafe(std::FILE* file) {
    unsigned char header[10];
    if (std::fread(header, 1, sizeof header, file) != sizeof header) return true;
    if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') return true;
    const int major = header[3];
    const unsigned char flags = header[5];
    if (major < 2 || major > 4) return true;  // id3lib does not read these
    if (major == 2 && (flags & 0x40) != 0) return false;  // a whole-tag compression
    // The tag (capped: a frame past this point is not looked at by the
    // scan, and a tag that big is damaged anyway).
    const std::uint32_t size = std::min<std::uint32_t>(SyncSafe(header + 6), 16u * 1024 * 1024);
    std::string tag(size, '\0');
    tag.resize(std::fread(&tag[0], 1, tag.size(), file));
    if ((flags & 0x80) != 0) {
        // Unsynchronised: every FF 00 stands for FF.
        std::string plain;
        plain.reserve(tag.size());
        for (std::size_t i = 0; i < tag.size(); ++i) {
            plain += tag[i];
            if (static_cast<unsigned char>(tag[i]) == 0xFF && i + 1 < tag.size() && tag[i + 1] == '\0') ++i;
        }
        tag.swap(plain);
    }
    const auto* p = reinterpret_cast<const unsigned char*>(tag.data());
    std::size_t at = 0;
    if (major >= 3 && (flags & 0x40) != 0) {  // an extended header
        if (tag.size() < 4) return true;
        const std::uint32_t ext = major == 3 ? BigEndian32(p) + 4 : SyncSafe(p);
        at = ext;
    }
    const std::size_t frameHeader = major == 2 ? 6 : 10;
    while (at + frameHeader <= tag.size()) {
        if (p[at] == 0) break;  // padding
        std::uint32_t frameSize;
        if (major == 2) {
            frameSize = (static_cast<std::uint32_t>(p[at + 3]) << 16) | (static_cast<std::uint32_t>(p[at + 4]) << 8) |
                        p[at + 5];
        } else {
            // The compression and encryption bits of ID3v2.3 (0x80, 0x40)
            // and ID3v2.4 (0x08, 0x04); id3lib reads both with the first meaning.
            if ((p[at + 9] & 0xCC) != 0) return false;
            frameSize = major == 4 ? SyncSafe(p + at + 4) : BigEndian32(p + at + 4);
        }
        at += frameHeader + frameSize;
    }
    return true;
}

class Id3libTagFile : public TagFile {
public:
    Id3libTagFile(const std::string& path, bool withId3v2) {
        flags_t tags = static_cast<flags_t>(0xFFFF);
        if (!withId3v2) tags = static_cast<flags_t>(tags & ~ID3TT_ID3V2);
        tag_.Link(path.c_str(), tags);
    }

    bool HasV2Tag() const override {
        try {
            return tag_.HasV2Tag();
        } catch (...) {
            return false;
        }
    }

    bool FrameText(int frameId, std::string& text) const override {
        text.clear();
        try {
            if (frameId <= ID3FID_NOFRAME || frameId >= ID3FID_LASTFRAMEID) return false;
            ID3_Frame* frame = tag_.Find(static_cast<ID3_FrameID>(frameId));
            if (frame == nullptr || !frame->Contains(ID3FN_TEXTENC)) return false;
            ID3_Field* field = nullptr;
            if (frame->Contains(ID3FN_TEXT)) {
                field = frame->GetField(ID3FN_TEXT);
            } else if (frame->Contains(ID3FN_URL)) {
                field = frame->GetField(ID3FN_URL);
            }
            if (field == nullptr) return false;
            switch (field->GetEncoding()) {
                case ID3TE_ISO8859_1:
                    text = Latin1FieldText(*field);
                    break;
                case ID3TE_UTF16:
                    // Converted here: the library's own UTF-16 to ISO-8859-1
                    // conversion mangles every non-ASCII character.
                    text = Utf16FieldText(*field);
                    break;
                default:
                    // UTF-16BE without a byte-order mark and UTF-8 (ID3v2.4
                    // only): the library offers no raw access to them, so
                    // take its own conversion to ISO-8859-1.
                    field->SetEncoding(ID3TE_ISO8859_1);
                    text = Latin1FieldText(*field);
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
    // Find and GetMp3HeaderInfo are const; the frames they return are not.
    mutable ID3_Tag tag_;
};

class Id3libTagReader : public TagReader {
public:
    std::unique_ptr<TagFile> Open(const std::string& path) override {
        try {
            // id3lib treats a file it cannot open as a file without tags;
            // the engine wants to know the difference, so try it first.
            std::FILE* probe = std::fopen(path.c_str(), "rb");
            if (probe == nullptr) return nullptr;
            const bool safe = Id3v2TagIsSafe(probe);
            std::fclose(probe);
            return std::make_unique<Id3libTagFile>(path, safe);
        } catch (...) {
            return nullptr;
        }
    }
};

}  // namespace

std::unique_ptr<TagReader> MakeId3libTagReader() { return std::make_unique<Id3libTagReader>(); }

const char* Id3v1GenreName(int number) {
    if (number < 0 || number >= ID3_NR_OF_V1_GENRES) return nullptr;
    return ID3_v1_genre_description[number];
}

}  // namespace quorv
