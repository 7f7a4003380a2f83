// Any bytes as a batch file, and as a run journal (a batch file with the
// run's steps after it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "batch/batch_file.h"
#include "batch/run_journal.h"
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
    const quorv::JournalLoadResult journal = quorv::DecodeRunJournal(bytes, quorv::SystemCodePage());
    if (journal.load.read.ok() != read.ok()) std::abort();
    if (journal.hasSteps) {
        quorv::RunJournal j{journal.load.read.batch, journal.steps, true};
        const quorv::JournalLoadResult again = quorv::DecodeRunJournal(quorv::EncodeRunJournal(j), quorv::SystemCodePage());
        if (!again.hasSteps || again.steps.size() != j.steps.size()) std::abort();
        for (std::size_t k = 0; k < j.steps.size(); ++k) {
            const quorv::JournalStep& a = again.steps[k];
            const quorv::JournalStep& b = j.steps[k];
            if (a.entry != b.entry || a.from != b.from || a.to != b.to || a.parkedFile != b.parkedFile ||
                a.size != b.size || a.modified != b.modified || a.fileId != b.fileId)
                std::abort();
        }
    }
    return 0;
}
