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

// Disables Undo, rolls the entries back, replaces the result text (one line
// per entry, in list order) and refreshes the status line. The way back is
// planned as a run is (a file goes back once the file holding its old name
// has left it; a swap goes through a temporary name), so a renumbered
// series or a swap comes back whole. For each entry whose path differs: the
// file's attributes are reset to normal with its three times written back,
// then it is moved back. Entries that the run is known not to have moved
// (their move failed, or only a converted copy was written) are reported as
// failed without touching any file; entries loaded from a batch file have
// no known outcome and are attempted. A file whose way back is taken by a
// file that stays is not touched, and a failed move gives the attributes
// back. Returns the number of entries that could not be rolled back.
// Runs on the caller's thread alone: reading the files' statuses ahead on a
// second thread was measured to gain nothing next to the moves themselves.
std::size_t UndoRename(BatchSession& session, FileSystem& fs);

}  // namespace quorv
