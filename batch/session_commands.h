#pragma once
// The file-list commands of the main window as whole commands on a batch
// session (each refreshes the status line where the window does), and the
// exchange between a session and a batch file.
#include <string>
#include <vector>

#include "batch/batch_file.h"
#include "batch/rename_run.h"
#include "platform/filesystem.h"

namespace quorv {

// Add Files with the paths the dialog returned (empty after a cancel).
void AddFilesCommand(BatchSession& session, const std::vector<std::string>& paths);
// Add Dir with the chosen folder (empty after a cancel).
void AddFolderCommand(BatchSession& session, FileSystem& fs, const std::string& folder);
// Remove selected (button or Delete key) and Remove All.
void RemoveSelectedCommand(BatchSession& session);
void RemoveAllCommand(BatchSession& session);

// The five fields of a batch file from the session.
BatchFile MakeBatchFile(const BatchSession& session);

// Takes over what a batch file read brought: from a whole file every field
// (the displayed list as saved, without the filter; Undo as saved); from a
// damaged file only the lists read completely before the fault, and Undo is
// disabled when the run record was replaced but the displayed list was not.
// The status line and the result text are left as they are.
void ApplyBatchFile(BatchSession& session, const BatchReadResult& read);

}  // namespace quorv
