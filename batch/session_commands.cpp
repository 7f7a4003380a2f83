#include "batch/session_commands.h"

namespace quorv {

void AddFilesCommand(BatchSession& session, const std::vector<std::string>& paths) {
    if (!paths.empty()) session.files.AddFiles(paths);
    RefreshStatusLine(session);
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
    FileList& files = session.files;
    const BatchFile& b = read.batch;
    if (read.masterListRead()) files.SetMasterList(b.masterList);
    if (read.runRecordRead()) files.SetRunRecord(b.runRecord);
    if (read.ok()) {
        files.SetDisplayedList(b.displayedList);
        session.rules = b.rules;
        files.SetUndoEnabled(b.undoEnabled);
    } else if (read.undoMustBeDisabled()) {
        files.SetUndoEnabled(false);
    }
}

}  // namespace quorv
