#include "batch/session_commands.h"

#include "batch/run_plan.h"

namespace quorv {

std::string AddFilesCommand(BatchSession& session, const std::vector<std::string>& paths) {
    std::string folder;
    if (!paths.empty()) {
        session.files.AddFiles(paths);
        folder = FolderOfPath(session.files.codePage(), session.files.separator(), paths.front());
    }
    RefreshStatusLine(session);
    return folder;
}

void AddFolderCommand(BatchSession& session, FileSystem& fs, const std::string& folder) {
    if (!folder.empty()) session.files.AddFolder(fs, folder);
    RefreshStatusLine(session);
}

void RemoveSelectedCommand(BatchSession& session) {
    session.files.RemoveSelected();
    RefreshStatusLine(session);
}

void RemoveAllCommand(BatchSession& session) {
    session.files.RemoveAll();
    RefreshStatusLine(session);
}

BatchFile MakeBatchFile(const BatchSession& session) {
    BatchFile b;
    b.masterList = session.files.MasterList();
    b.displayedList = session.files.DisplayedList();
    b.runRecord = session.files.RunRecord();
    b.rules = session.rules;
    b.undoEnabled = session.files.UndoEnabled();
    return b;
}

void ApplyBatchFile(BatchSession& session, const BatchReadResult& read) {
    // A file read in part would pair a new run record with old entries, or
    // old rules with new files: it changes nothing.
    if (!read.ok()) return;
    FileList& files = session.files;
    const BatchFile& b = read.batch;
    files.SetMasterList(b.masterList);
    files.SetRunRecord(b.runRecord);
    files.SetDisplayedList(b.displayedList);
    session.rules = b.rules;
    files.SetUndoEnabled(b.undoEnabled);
}

BatchLoadResult LoadBatchCommand(BatchSession& session, FileSystem& fs, const std::string& path) {
    BatchLoadResult loaded = LoadBatchFile(fs, path, session.files.codePage());
    if (loaded.opened) ApplyBatchFile(session, loaded.read);
    return loaded;
}

}  // namespace quorv
