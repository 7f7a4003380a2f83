// The picture conversion that a run does in place of a move: the target
// text carries the conversion marker and the format name behind the new
// path; a converted copy of the source is written there, the source stays.
#include <cstring>

#include "engine/apply_rules.h"
#include "engine/media_values.h"

namespace quorv {
namespace {

struct ConversionFormat {
    const char* name;
    const char* mime;
};

constexpr ConversionFormat kFormats[] = {
    {"JPG", "image/jpeg"}, {"BMP", "image/bmp"}, {"GIF", "image/gif"}, {"PNG", "image/png"}, {"TIFF", "image/tiff"},
};

bool IsSeparator(char c, char separator) { return c == separator || c == '/'; }

}  // namespace

const char* ConversionMimeType(const std::string& formatName) {
    for (const ConversionFormat& f : kFormats) {
        if (formatName == f.name) return f.mime;
    }
    return nullptr;
}

std::string ConvertedPicturePath(const std::string& targetPath, const std::string& formatName, char separator) {
    if (ConversionMimeType(formatName) == nullptr) return {};
    // The extension: the first three characters of the format name, lower case.
    std::string extension = formatName.substr(0, 3);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    std::size_t nameStart = 0;
    for (std::size_t i = targetPath.size(); i > 0; --i) {
        if (IsSeparator(targetPath[i - 1], separator) || (separator == '\\' && targetPath[i - 1] == ':')) {
            nameStart = i;
            break;
        }
    }
    if (nameStart == targetPath.size()) return {};  // no file name to give the picture
    const std::size_t dot = targetPath.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        // A file name without a dot: the extension goes behind the name, so
        // the converted picture lands in the folder the target names (and
        // never in one cut at a dot of a folder name).
        return targetPath + "." + extension;
    }
    return targetPath.substr(0, dot + 1) + extension;
}

bool ConvertPicture(const EngineContext& ctx, const std::string& source, const std::string& target) {
    try {
        const std::size_t markerLength = sizeof kConversionMarker - 1;
        const std::size_t at = FindConversionMarker(target);
        if (at == std::string::npos) return false;
        if (ctx.pictures == nullptr) return false;
        const std::string formatName = target.substr(at + markerLength);
        const char* mime = ConversionMimeType(formatName);
        if (mime == nullptr) return false;  // no encoder for that name
        const std::string newPath = ConvertedPicturePath(target.substr(0, at), formatName, ctx.Separator());
        if (newPath.empty()) return false;
        // Never write over a file that is already there (the source itself
        // included, when the picture already has the format's extension): a
        // conversion adds a file, it does not replace one.
        if (ctx.fileSystem != nullptr) {
            FileStatus status;
            if (ctx.fileSystem->GetStatus(newPath, status)) return false;
        }
        return ctx.pictures->Save(source, newPath, mime);
    } catch (...) {
        return false;
    }
}

}  // namespace quorv
