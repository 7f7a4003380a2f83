#include "batch/undo.h"

namespace quorv {

std::string RollbackLine(const std::string& renamedPath, const std::string& oldPath) {
    return renamedPath + "  roolback to " + oldPath + "\r\n";
}

std::string RollbackFailedLine(const std::string& renamedPath, const std::string& oldPath) {
    return renamedPath + "  roolback failed with  " + oldPath + "\r\n";
}

std::string RollbackNotChangedLine(const std::string& renamedPath) { return renamedPath + "  not changed\r\n"; }

namespace {

// Moves one file back; false when it stays where it is.
bool RollBack(FileSystem& fs, const std::string& from, const std::string& to) {
    FileStatus status;
    if (!fs.GetStatus(from, status)) return false;
    if (!fs.SetAttributes(from, kAttrNormal, &status.times)) return false;
    if (fs.Move(from, to)) return true;
    // The way back is taken (or closed): give the file back what the
    // attempt took from it. The file in the way was never touched.
    const std::uint32_t settable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
    const std::uint32_t previous = status.attributes & settable;
    fs.SetAttributes(from, previous == 0 ? kAttrNormal : previous, &status.times);
    return false;
}

}  // namespace

std::size_t UndoRename(BatchSession& session, FileSystem& fs) {
    FileList& files = session.files;
    files.SetUndoEnabled(false);
    std::string text;
    std::size_t failures = 0;
    for (std::size_t i = 0; i < files.RunRecordSize(); ++i) {
        if (i >= files.DisplayedCount()) continue;
        const std::string& oldPath = files.DisplayedText(i);
        const std::string& renamed = files.RunRecordPath(i);
        if (oldPath == renamed) {
            text += RollbackNotChangedLine(renamed);
            continue;
        }
        const EntryOutcome outcome = files.Outcome(i);
        const bool attempt = outcome == EntryOutcome::Renamed || outcome == EntryOutcome::Unknown;
        if (attempt && RollBack(fs, renamed, oldPath)) {
            text += RollbackLine(renamed, oldPath);
        } else {
            text += RollbackFailedLine(renamed, oldPath);
            ++failures;
        }
    }
    session.resultText = std::move(text);
    RefreshStatusLine(session);
    return failures;
}

}  // namespace quorv
