// Tag text on Windows: single-byte frames follow the rule of the program's
// stored text (valid UTF-8 stays, anything else is the legacy ANSI code
// page), so that a frame written by a Windows tagger still reads correctly
// when the program's narrow text is UTF-8.
#include "platform/media_text.h"
#include "system/system.h"

namespace quorv {

std::string NarrowFromLatin1(const std::string& bytes) { return SystemCodePage().FromStored(bytes); }

}  // namespace quorv
