// Any bytes as a batch file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "batch/batch_file.h"
#include "system/system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const quorv::BatchReadResult read = quorv::DecodeBatchFile(bytes, quorv::SystemCodePage());
    if (read.fieldsRead < 0 || read.fieldsRead > 5) std::abort();
    if (read.ok() != (read.fieldsRead == 5)) std::abort();
    if (read.ok()) {
        const quorv::BatchReadResult again = quorv::DecodeBatchFile(quorv::EncodeBatchFile(read.batch), quorv::SystemCodePage());
        if (!again.ok() || !(again.batch == read.batch)) std::abort();
    }
    return 0;
}
