#pragma once
// What can go wrong with one of the program's own files, and the texts the
// user sees for it. Rule files and batch files share all of it; the
// settings and handoff files fail silently.
#include <string>

#include "platform/filesystem.h"

namespace quorv {

// What went wrong while reading or writing one of the program's files.
enum class FileError {
    None,
    EndOfFile,  // "An attempt was made to access %1 past its end."
    Generic,    // "An unknown error occurred while accessing %1."
    DiskFull,   // "Disk full while accessing %1."
};

// The name shown in place of %1 for errors found while reading.
inline constexpr const char* kUnnamedFile = "an unnamed file";

// The user's message for an error, %1 replaced by name; empty for None.
std::string FileErrorText(FileError error, const std::string& name);

// The error for a failed whole-file write or read.
FileError FileErrorFromIo(IoResult result);

// The outcome of saving a rule file or a batch file.
struct SaveResult {
    enum class Outcome {
        Saved,
        NotOpened,    // the file could not be opened for writing
        WriteFailed,  // opened, but the bytes could not all be written
    };
    Outcome outcome = Outcome::Saved;
    // The message naming the path, shown in the standard message box: for
    // WriteFailed the error's text ("Disk full while accessing <path>."),
    // for NotOpened "An unknown error occurred while accessing <path>.";
    // empty when saved.
    std::string errorText;
    bool saved() const { return outcome == Outcome::Saved; }
};

// The one mapping from a whole-file write to the save outcome.
SaveResult SaveResultFromIo(IoResult io, const std::string& path);

}  // namespace quorv
