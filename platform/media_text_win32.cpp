// Tag text on Windows: the program's narrow text is the ANSI code page.
#include "platform/media_text.h"

namespace quorv {

std::string NarrowFromLatin1(const std::string& bytes) { return bytes; }

}  // namespace quorv
