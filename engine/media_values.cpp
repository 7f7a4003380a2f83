// Values taken from a file's content for the generated PREFIX/SUFFIX forms:
// MP3 tag frames and MPEG header values (mp3tagv1, mp3tagv2) and picture
// properties (image). Each value opens and reads the file afresh.
#include "engine/media_values.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>

namespace quorv {
namespace {

struct FrameProperty {
    const char* name;
    TagField field;
};

// mp3tagv1: read from the tag as the library merges ID3v1 and ID3v2.
constexpr FrameProperty kV1Frames[] = {
    {"Album", TagField::Album},     {"Artist", TagField::Artist}, {"Title", TagField::Title},
    {"Track", TagField::Track},     {"Year", TagField::Year},     {"Comment", TagField::Comment},
};

// mp3tagv2: only when the file has an ID3v2 tag.
constexpr FrameProperty kV2Frames[] = {
    {"Composer", TagField::Composer},    {"Copyright", TagField::Copyright},
    {"Encodeby", TagField::EncodedBy},   {"OrigArtist", TagField::OriginalArtist},
    {"wwwuser", TagField::UserLink},     {"Publisher", TagField::Publisher},
    {"Time", TagField::Time},            {"Language", TagField::Language},
    {"SubTitle", TagField::SubTitle},
};

bool FindFrame(const FrameProperty* begin, const FrameProperty* end, const std::string& name, TagField& field) {
    for (const FrameProperty* p = begin; p != end; ++p) {
        if (name == p->name) {
            field = p->field;
            return true;
        }
    }
    return false;
}

std::string Format(const char* pattern, long long a) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, a);
    return n > 0 && static_cast<std::size_t>(n) < sizeof buffer ? std::string(buffer, static_cast<std::size_t>(n))
                                                                 : std::string();
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

// The genre name for a TCON frame text: "(17)", "17" and "(17)Rock" name
// genre 17 of the library's list (0..147). A text that does not start with
// a number after its brackets is a genre name already and is used as it
// stands ("(RX)" and "(CR)" are the tag format's codes for remix and
// cover). A number past the list, a negative number and an empty text give
// nothing.
std::string GenreFromFrameText(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == '(') ++i;
    while (i < n && text[i] == ')') ++i;
    // The number rule: white space, a sign, decimal digits.
    std::size_t j = i;
    while (j < n && IsSpace(text[j])) ++j;
    bool negative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
        negative = text[j] == '-';
        ++j;
    }
    const std::size_t digits = j;
    long long number = 0;
    while (j < n && text[j] >= '0' && text[j] <= '9') {
        if (number < 1000000) number = number * 10 + (text[j] - '0');  // large enough to be past the list
        ++j;
    }
    if (j == digits) {
        if (text == "(RX)") return "Remix";
        if (text == "(CR)") return "Cover";
        return text;
    }
    if (negative && number != 0) return {};
    const char* name = number <= 1000 ? Id3v1GenreName(static_cast<int>(number)) : nullptr;
    return name != nullptr ? name : std::string();
}

std::string Mp3TagValue(const EngineContext& ctx, const std::string& path, bool v2, const std::string& property) {
    if (ctx.tags == nullptr) return {};
    enum class Kind { Frame, Genre, BitRate, Frequency } kind = Kind::Frame;
    TagField field = TagField::Album;
    bool known = true;
    if (v2) {
        known = FindFrame(std::begin(kV2Frames), std::end(kV2Frames), property, field);
    } else if (property == "Genre") {
        kind = Kind::Genre;
        field = TagField::Genre;
    } else if (property == "BitRate") {
        kind = Kind::BitRate;
    } else if (property == "Frequency") {
        kind = Kind::Frequency;
    } else {
        known = FindFrame(std::begin(kV1Frames), std::end(kV1Frames), property, field);
    }
    if (!known) return {};  // not a property

    try {
        std::unique_ptr<TagFile> file = ctx.tags->Open(path);
        if (!file) return {};
        if (v2 && !file->HasV2Tag()) return {};
        switch (kind) {
            case Kind::Frame: {
                std::string text;
                return file->FrameText(field, text) ? text : std::string();
            }
            case Kind::Genre: {
                std::string text;
                if (!file->FrameText(field, text)) return {};
                return GenreFromFrameText(text);
            }
            case Kind::BitRate: {
                Mp3Header header;
                if (!file->HeaderInfo(header)) return {};
                const std::uint32_t rate = header.vbrBitRate != 0 ? header.vbrBitRate : header.bitRate;
                // A free-format stream reports no rate: "0kb" would be wrong.
                if (rate / 1000 == 0) return {};
                return Format("%lldkb", static_cast<long long>(rate / 1000));
            }
            case Kind::Frequency: {
                Mp3Header header;
                if (!file->HeaderInfo(header) || header.frequency == 0) return {};
                return Format("%lldhz", static_cast<long long>(header.frequency));
            }
        }
    } catch (...) {
        // A reader that fails in an unforeseen way adds nothing, like an unreadable file.
    }
    return {};
}

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::JPEG: return "JPEG";
        case PictureFormat::BMP: return "BMP";
        case PictureFormat::PNG: return "PNG";
        case PictureFormat::GIF: return "GIF";
        case PictureFormat::TIFF: return "TIFF";
        case PictureFormat::EXIF: return "EXIF";
        case PictureFormat::Icon: return "Icon";
        case PictureFormat::EMF: return "EMF";
        case PictureFormat::WMF: return "WMF";
        case PictureFormat::MemoryBMP: return "MemoryBMP";
        case PictureFormat::Undefined: return "Undefined";
        case PictureFormat::Other: break;
    }
    return "";
}

const char* PixelFormatName(std::int32_t pixelFormat) {
    // The imaging library's pixel-format values (GDI+ PixelFormat constants).
    struct Entry {
        std::int32_t value;
        const char* name;
    };
    static const Entry kTable[] = {
        {0x00030101, "1bppIndexed"},   {0x00030402, "4bppIndexed"},    {0x00030803, "8bppIndexed"},
        {0x00101004, "16bppGrayScale"}, {0x00021005, "16bppRGB555"},    {0x00021006, "16bppRGB565"},
        {0x00061007, "16bppARGB1555"},  {0x00021808, "24bppRGB"},       {0x00022009, "32bppRGB"},
        {0x0026200A, "32bppARGB"},      {0x000E200B, "32bppPARGB"},     {0x0010300C, "48bppRGB"},
        {0x0034400D, "64bppARGB"},      {0x001A400E, "64bppPARGB"},     {0x0000000F, "Max"},
    };
    for (const Entry& e : kTable) {
        if (e.value == pixelFormat) return e.name;
    }
    return "";
}

std::string PictureValue(const EngineContext& ctx, const std::string& path, const std::string& property) {
    const bool resolution = property == "resolution";
    if (!resolution && property != "format" && property != "colors") return {};
    PictureInfo info;
    bool loaded = false;
    if (ctx.pictures != nullptr) {
        try {
            loaded = ctx.pictures->Read(path, info);
        } catch (...) {
            loaded = false;
        }
    }
    if (!loaded) info = PictureInfo{};
    if (resolution) {
        char buffer[32];
        const int n = std::snprintf(buffer, sizeof buffer, "%dx%d", info.width, info.height);
        return n > 0 && static_cast<std::size_t>(n) < sizeof buffer ? std::string(buffer) : std::string("0x0");
    }
    if (!loaded) return {};
    return property == "format" ? PictureFormatName(info.format) : PixelFormatName(info.pixelFormat);
}

}  // namespace quorv
