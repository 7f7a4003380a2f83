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
