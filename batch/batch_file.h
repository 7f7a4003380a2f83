#pragma once
// The batch file: a whole working state of the main window (master list,
// displayed list, run record, rule lines and whether Undo is possible),
// stored as four string list records and one 32-bit integer.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/string_list_record.h"
#include "platform/filesystem.h"

namespace quorv {

struct BatchFile {
    std::vector<std::string> masterList;     // field 1
    std::vector<std::string> displayedList;  // field 2
    std::vector<std::string> runRecord;      // field 3
    std::vector<std::string> rules;          // field 4
    bool undoEnabled = false;                // field 5

    bool operator==(const BatchFile& other) const {
        return masterList == other.masterList && displayedList == other.displayedList &&
               runRecord == other.runRecord && rules == other.rules &&
               undoEnabled == other.undoEnabled;
    }
};

// The bytes of a batch file (an empty window gives 12 bytes).
std::string EncodeBatchFile(const BatchFile& batch);

// The outcome of reading a batch file. Reading stops at the first fault;
// fieldsRead counts the fields (1 to 5) read completely before it. A list
// whose reading was cut off holds the strings read before the fault.
struct BatchReadResult {
    BatchFile batch;
    int fieldsRead = 0;
    FileError error = FileError::None;

    bool ok() const { return error == FileError::None; }

    // How far a faulty read got: the lists read completely before the
    // fault. The window takes none of them over (ApplyBatchFile changes
    // nothing unless the file was read whole).
    bool masterListRead() const { return fieldsRead >= 1; }
    bool runRecordRead() const { return fieldsRead >= 3; }
    // A faulty file that got as far as the run record: taking that record
    // over without the displayed list would let Undo pair new names with
    // old entries and move the wrong files.
    bool undoMustBeDisabled() const { return !ok() && runRecordRead(); }
};

// Reads a batch file from bytes; bytes after field 5 are ignored. Any
// non-zero field 5 enables Undo. When end is given it receives the offset
// just after field 5 (where a run journal's steps begin).
BatchReadResult DecodeBatchFile(std::string_view bytes, const CodePage& codePage, std::size_t* end = nullptr);

// Saving through the file system.
SaveResult SaveBatchFile(FileSystem& fs, const std::string& path, const BatchFile& batch);

// Loading through the file system.
struct BatchLoadResult {
    bool opened = false;  // false: the file could not be read; nothing to do
    BatchReadResult read;
    // The message for a damaged file ("An attempt was made to access an
    // unnamed file past its end." ...); empty when the file was read whole.
    std::string errorText;
};
BatchLoadResult LoadBatchFile(FileSystem& fs, const std::string& path, const CodePage& codePage);

}  // namespace quorv
