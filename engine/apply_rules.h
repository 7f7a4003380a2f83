#pragma once
// The rule engine's entry points: the new path of one file from the rule
// lines, and the picture conversion that a run does in place of a move.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/media.h"
#include "platform/services.h"

namespace quorv {

// The seams through which the engine reads everything outside the rule
// lines: text handling, the clock, file times, tags and pictures. Built from
// a session's Services (EngineContextOf); the path separator is the file
// system's.
struct EngineContext {
    const CodePage* codePage = nullptr;
    const Clock* clock = nullptr;
    FileSystem* fileSystem = nullptr;
    TagReader* tags = nullptr;
    PictureReader* pictures = nullptr;

    char Separator() const { return fileSystem != nullptr ? fileSystem->Separator() : '\\'; }
};

EngineContext EngineContextOf(const Services& services);

// The new full path of one file: destination folder (or the file's own
// folder), the name after the last rule, then the conversion marker.
// fileNumber is the file's one-based position in the displayed list.
std::string ApplyRules(const EngineContext& ctx, const std::string& path,
                       std::int32_t fileNumber, const std::vector<std::string>& rules);

// True when the rule line inserts a value read from a file's tags or its
// picture (PREFIX or SUFFIX of the mp3tagv1, mp3tagv2 or image kind), the
// line read word by word as ApplyRules reads it.
bool RuleReadsTagsOrPictures(const CodePage& cp, std::string_view line);

// The conversion marker: "?conpic" followed by a picture format name.
inline constexpr char kConversionMarker[] = "?conpic";

// Where the conversion marker of a new path begins: its first occurrence,
// which counts only after the path's first character; npos when there is
// none (or when the path begins with it).
std::size_t FindConversionMarker(std::string_view path);

// Writes a converted copy of the picture at source to the path that target
// (an ApplyRules result carrying the conversion marker) names; true when the
// converted file was written. The source is never touched.
bool ConvertPicture(const EngineContext& ctx, const std::string& source, const std::string& target);

}  // namespace quorv
