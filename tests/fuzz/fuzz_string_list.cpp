// Any bytes as a string list record (a rule file): the reader must stop
// cleanly, and whatever it reads must be written back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/string_list_record.h"
#include "system/system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    quorv::ByteReader reader(bytes, quorv::SystemCodePage());
    const bool ok = reader.ReadStringList(lines);
    if (reader.position() > bytes.size()) std::abort();
    if (ok) {
        // A record read whole survives a write and a second read unchanged.
        std::vector<std::string> again;
        if (quorv::DecodeStringList(quorv::EncodeStringList(lines), quorv::SystemCodePage(), again) != quorv::FileError::None)
            std::abort();
        if (again != lines) std::abort();
    }
    return 0;
}
