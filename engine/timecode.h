#pragma once
// The FORMAT rule: frame numbers written as timecodes.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace quorv {

struct FormatLine {
    std::int32_t rate = 1;        // frames per second, at least 1
    std::string_view start;       // text after " start:"
    std::string_view pattern;     // the pattern keyword; empty when none was found
};

// Reads the target remainder of a FORMAT line; false when it has no
// " start:" (such a line has no effect).
bool ReadFormatLine(const CodePage& cp, std::string_view remainder, FormatLine& out);

// The timecode text of frame number frames (0 or more) at rate (1 or more)
// in the pattern's layout; empty for an unknown pattern.
std::string TimecodeText(std::string_view pattern, std::int32_t frames, std::int32_t rate);

// The frame number of the part under the line: from the digits at the end of
// the part, or counted from the start timecode by the file number. False
// when it falls outside 0..2^31-1 (no timecode can be written for it).
bool FrameNumber(const FormatLine& line, std::string_view part, std::int32_t fileNumber, std::int32_t& frames);

// Applies a FORMAT line to the part (the name without its extension);
// false when the line has no effect.
bool ApplyFormat(const CodePage& cp, std::string_view remainder, std::int32_t fileNumber, std::string& part);

}  // namespace quorv
