// Any bytes as the handoff file: every entry is free of line ends and zero
// bytes and is valid UTF-8 (legacy bytes converted); when the text was valid
// UTF-8, writing the entries back gives the text the reader used.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/handoff_file.h"
#include "platform/utf8.h"
#include "system/system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = quorv::DecodeHandoff(bytes, quorv::SystemCodePage());
    for (const std::string& entry : entries) {
        if (entry.find("\r\n") != std::string::npos || entry.find('\0') != std::string::npos)
            std::abort();
        if (!quorv::IsValidUtf8(entry)) std::abort();
    }
    const std::string back = quorv::EncodeHandoff(entries);
    // The entries, written again, are the start of the text before any zero byte.
    const std::string text = bytes.substr(0, bytes.find('\0'));
    if (quorv::IsValidUtf8(text) && text.compare(0, back.size(), back) != 0) std::abort();
    return 0;
}
