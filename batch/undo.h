#pragma once
// Undo: moves the files of the last rename run back to the paths the file
// list still shows, pairing the run record with the displayed list position
// by position (the pairing survives reordering: the run record travels with
// its entries).
#include <cstddef>
#include <string>

#include "batch/rename_run.h"
#include "platform/filesystem.h"

namespace quorv {

// The undo lines, each ending in "\r\n". The words are the program's own
// and are kept exactly as users have always seen them.
std::string RollbackLine(const std::string& renamedPath, const std::string& oldPath);
std::string RollbackFailedLine(const std::string& renamedPath, const std::string& oldPath);
std::string RollbackNotChangedLine(const std::string& renamedPath);

// Disables Undo, rolls every entry back from the first to the last, replaces
// the result text and refreshes the status line. For each entry whose path
// differs: the file's attributes are reset to normal with its three times
// written back, then it is moved back. Entries that the run is known not to
// have moved (their move failed, or only a converted copy was written) are
// reported as failed without touching any file; entries loaded from a batch
// file have no known outcome and are attempted. A file whose way back is
// taken keeps its attributes, and a failed move gives them back.
// Returns the number of entries that could not be rolled back.
std::size_t UndoRename(BatchSession& session, FileSystem& fs);

}  // namespace quorv
