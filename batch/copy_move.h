#pragma once
// Copy and move of the files selected in the file list into a folder, and
// the report of the files that could not be copied or moved.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "batch/file_list.h"
#include "platform/filesystem.h"

namespace quorv {

enum class TransferKind { Copy, Move };

extern const char kSelectFilesFirstMessage[];  // "Please select the files first."

// How many failed paths a report names.
constexpr std::size_t kNamedFailures = 3;

struct TransferReport {
    std::size_t done = 0;       // files copied or moved
    std::size_t unchanged = 0;  // files already in the chosen folder: nothing to do
    std::size_t failed = 0;     // copies or moves that failed
    std::vector<std::string> failedPaths;  // the first kNamedFailures of them, in the order tried
    std::size_t removedEntries = 0;        // master entries removed after moves
};

// The target of one entry: folder (ending with the separator) + the name
// after the entry's last separator (the whole text when there is none).
std::string TransferTarget(const std::string& folder, const std::string& path, const CodePage& cp,
                           char separator);

// Copies (overwriting a file of the same name) or moves (never replacing
// one) each selected entry of the displayed list into folder, visiting the
// entries from the last to the first. After each move every master entry
// equal to the moved path (exactly, letter case included) leaves the list;
// the displayed list is rebuilt once at the end when any entry left. An
// entry whose move failed stays. An entry already in the chosen folder is
// neither copied nor moved and stays; a path listed twice is done once.
TransferReport TransferSelectedFiles(TransferKind kind, FileSystem& fs, FileList& files, const CodePage& cp,
                                     const std::string& folder);

// The message for the failures of a report; empty when nothing failed.
// "2 files could not be moved:" and the first paths, one a line, then
// "and N more." when there are more.
std::string TransferFailureMessage(TransferKind kind, const TransferReport& report);

// The whole command (CopySelectedFiles / MoveSelectedFiles).
struct TransferCommandResult {
    bool ran = false;     // the files were visited
    std::string message;  // to show with ShowMessage; empty when none
    bool listChanged = false;  // the file list was rebuilt: refill the list box, refresh the status line
    TransferReport report;
};
// Nothing selected: kSelectFilesFirstMessage. Otherwise the picker is shown
// starting at copyMoveFolder; a cancel stops with nothing changed; OK makes
// the chosen folder (ending with the separator) the copy/move folder, calls
// folderChosen (the window lets the quick preview release its file there:
// not before, so that a cancel leaves a playing preview alone) and
// transfers the files there.
TransferCommandResult TransferCommand(TransferKind kind, FileSystem& fs, FileList& files, const CodePage& cp,
                                      std::string& copyMoveFolder,
                                      const std::function<bool(std::string& folder)>& pickFolder,
                                      const std::function<void()>& folderChosen = {});

}  // namespace quorv
