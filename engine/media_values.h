#pragma once
// Values that the generated PREFIX/SUFFIX forms take from a file's content:
// MP3 tag fields and header values, picture properties.
#include <string>

#include "engine/apply_rules.h"

namespace quorv {

// The text that `mp3tagv1` (v2 false) or `mp3tagv2` (v2 true) with the
// property name adds for the file at path; empty when there is nothing.
std::string Mp3TagValue(const EngineContext& ctx, const std::string& path, bool v2,
                        const std::string& property);

// The text that `image` with the property name (resolution, format, colors)
// adds for the file at path.
std::string PictureValue(const EngineContext& ctx, const std::string& path,
                         const std::string& property);

}  // namespace quorv

namespace quorv {

// The genre name for the text of a TCON frame ("(17)" and "17" give
// "Rock"; a plain genre name stands as it is; empty when nothing fits).
std::string GenreFromFrameText(const std::string& text);

// The name of an ID3v1 genre number (the standard list 0..79 and its
// common extensions up to 147); null outside.
const char* Id3v1GenreName(int number);

// The names the `image` properties write: file format and pixel format
// (empty text for anything outside the known sets).
const char* PictureFormatName(PictureFormat format);
const char* PixelFormatName(std::int32_t pixelFormat);

// The path a conversion writes: the target path (an ApplyRules result
// without its marker) with the extension that the format name selects.
// Empty when the format name is unknown or the target has no file name.
std::string ConvertedPicturePath(const std::string& targetPath, const std::string& formatName, char separator);

// The encoder's MIME type for a format name ("JPG", "BMP", "GIF", "PNG",
// "TIFF", exact letter case); null for any other name.
const char* ConversionMimeType(const std::string& formatName);

}  // namespace quorv
