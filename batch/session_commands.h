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
// Returns the folder the files were added from (the first file's folder,
// ending with the separator) for the window to keep as its last folder;
// empty after a cancel, when the last folder stays as it was.
std::string AddFilesCommand(BatchSession& session, const std::vector<std::string>& paths);
// Add Dir with the chosen folder (empty after a cancel).
void AddFolderCommand(BatchSession& session, FileSystem& fs, const std::string& folder);
// Remove selected (button or Delete key) and Remove All.
void RemoveSelectedCommand(BatchSession& session);
void RemoveAllCommand(BatchSession& session);

// The five fields of a batch file from the session.
BatchFile MakeBatchFile(const BatchSession& session);

// Takes over a batch file read whole: every field (the displayed list as
// saved, without the filter; Undo as saved). A file that could not be read
// whole changes nothing: the lists, the run record and Undo stay as they
// were. The status line and the result text are left as they are.
void ApplyBatchFile(BatchSession& session, const BatchReadResult& read);

// LoadBatch after the dialog: reads the file and takes it over when it was
// read whole. The result says whether it could be opened and, for a damaged
// file, the message to show (errorText); the session is then unchanged.
BatchLoadResult LoadBatchCommand(BatchSession& session, FileSystem& fs, const std::string& path);

}  // namespace quorv
