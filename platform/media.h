#pragma once
// The media seams: MP3 tags (id3lib) and pictures (GDI+ on Windows).
// The engine turns what these report into rule values; the readers only
// report what the libraries say, in the libraries' own terms.
#include <cstdint>
#include <memory>
#include <string>

namespace quorv {

// MPEG audio header information, as id3lib's Mp3_Headerinfo gives it.
struct Mp3Header {
    std::uint32_t bitRate = 0;     // bits per second
    std::uint32_t vbrBitRate = 0;  // average variable bit rate, bits per second, 0 when constant
    std::uint32_t frequency = 0;   // sampling rate in Hz
};

// The tag fields the rule engine reads, named in its own terms; a reader
// maps them to its library's frames.
enum class TagField : std::uint8_t {
    Album,
    Artist,
    Title,
    Track,
    Year,
    Comment,
    Genre,
    Composer,
    Copyright,
    EncodedBy,
    OriginalArtist,
    UserLink,  // the user-defined web link
    Publisher,
    Time,
    Language,
    SubTitle,
};
inline constexpr int kTagFieldCount = 16;

// One opened MP3 file (a tag object linked with all tag kinds).
class TagFile {
public:
    virtual ~TagFile() = default;
    virtual bool HasV2Tag() const = 0;
    // Text of the field's frame as narrow text of the program (UTF-16
    // frames converted). false when the frame is missing or has no
    // text-encoding field or no text/URL field, and for a value outside the
    // enumeration.
    virtual bool FrameText(TagField field, std::string& text) const = 0;
    // false when no MPEG audio frame was found.
    virtual bool HeaderInfo(Mp3Header& out) const = 0;
};

class TagReader {
public:
    virtual ~TagReader() = default;
    // Opens the file afresh; null when it cannot be read at all (missing,
    // locked). A file without a tag opens and reports no frames.
    virtual std::unique_ptr<TagFile> Open(const std::string& path) = 0;
};

// Raw picture formats the imaging library reports.
enum class PictureFormat { Other, JPEG, BMP, PNG, GIF, TIFF, EXIF, Icon, EMF, WMF, MemoryBMP, Undefined };

struct PictureInfo {
    int width = 0;
    int height = 0;
    PictureFormat format = PictureFormat::Other;
    std::int32_t pixelFormat = 0;  // the imaging library's pixel-format value (GDI+ PixelFormat)
};

class PictureReader {
public:
    virtual ~PictureReader() = default;
    // false when the file cannot be loaded as a picture.
    virtual bool Read(const std::string& path, PictureInfo& out) = 0;
    // Loads source and saves it to target with the first installed encoder
    // whose MIME type equals mimeType; true only when the save succeeded.
    // The source is never changed.
    virtual bool Save(const std::string& source, const std::string& target,
                      const std::string& mimeType) = 0;
};

// Readers that never find anything: what the engine sees for an unreadable file.
std::unique_ptr<TagReader> MakeNullTagReader();
std::unique_ptr<PictureReader> MakeNullPictureReader();

}  // namespace quorv
