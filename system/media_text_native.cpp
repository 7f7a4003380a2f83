// Tag text natively: the program's narrow text is UTF-8.
#include "platform/media_text.h"

namespace quorv {

std::string NarrowFromLatin1(const std::string& bytes) {
    if (IsValidUtf8(bytes)) return bytes;
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char c : bytes) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return Utf8FromUtf16(wide);
}

}  // namespace quorv
