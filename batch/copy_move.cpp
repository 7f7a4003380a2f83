#include "batch/copy_move.h"

#include <unordered_set>

#include "platform/mbtext.h"

namespace quorv {

const char kSelectFilesFirstMessage[] = "Please select the files first.";

std::string TransferTarget(const std::string& folder, const std::string& path, const CodePage& cp,
                           char separator) {
    return folder + EntryName(cp, path, separator);
}

namespace {

// Whether two paths name the same file: letter case is ignored where the
// file system ignores it (Windows paths).
bool SamePath(const std::string& a, const std::string& b, const CodePage& cp, char separator) {
    if (a == b) return true;
    return separator == '\\' && a.size() == b.size() && cp.Lower(a) == cp.Lower(b);
}

}  // namespace

TransferReport TransferSelectedFiles(TransferKind kind, FileSystem& fs, FileList& files, const CodePage& cp,
                                     const std::string& folder) {
    const char sep = fs.Separator();
    const std::string into = FolderWithSeparator(folder, cp, sep);
    TransferReport report;
    std::unordered_set<std::string> done;  // a path listed twice is copied or moved once
    for (std::size_t i = files.DisplayedCount(); i-- > 0;) {
        if (!files.IsSelected(i)) continue;
        const std::string path = files.DisplayedText(i);  // a copy: the lists change below
        if (!done.insert(path).second) continue;
        const std::string target = TransferTarget(into, path, cp, sep);
        if (SamePath(path, target, cp, sep)) {
            ++report.unchanged;
            continue;
        }
        const bool ok = kind == TransferKind::Copy ? fs.Copy(path, target, true) : fs.Move(path, target);
        if (!ok) {
            ++report.failed;
            if (report.failedPaths.size() < kNamedFailures) report.failedPaths.push_back(path);
            continue;
        }
        ++report.done;
        if (kind == TransferKind::Move) report.removedEntries += files.RemoveMasterEntries(path);
    }
    if (report.removedEntries > 0) files.RebuildFileList();
    return report;
}

std::string TransferFailureMessage(TransferKind kind, const TransferReport& report) {
    if (report.failed == 0) return {};
    std::string text = std::to_string(report.failed) + (report.failed == 1 ? " file" : " files") +
                       " could not be " + (kind == TransferKind::Copy ? "copied:" : "moved:");
    for (const std::string& path : report.failedPaths) text += "\r\n" + path;
    if (report.failed > report.failedPaths.size())
        text += "\r\nand " + std::to_string(report.failed - report.failedPaths.size()) + " more.";
    return text;
}

TransferCommandResult TransferCommand(TransferKind kind, FileSystem& fs, FileList& files, const CodePage& cp,
                                      std::string& copyMoveFolder,
                                      const std::function<bool(std::string& folder)>& pickFolder,
                                      const std::function<void()>& folderChosen) {
    TransferCommandResult result;
    bool anySelected = false;
    for (std::size_t i = 0; i < files.DisplayedCount() && !anySelected; ++i) anySelected = files.IsSelected(i);
    if (!anySelected) {
        result.message = kSelectFilesFirstMessage;
        return result;
    }
    std::string folder = copyMoveFolder;
    if (!pickFolder || !pickFolder(folder)) return result;
    copyMoveFolder = FolderWithSeparator(folder, cp, fs.Separator());
    if (folderChosen) folderChosen();
    result.ran = true;
    result.report = TransferSelectedFiles(kind, fs, files, cp, copyMoveFolder);
    result.listChanged = result.report.removedEntries > 0;
    result.message = TransferFailureMessage(kind, result.report);
    return result;
}

}  // namespace quorv
