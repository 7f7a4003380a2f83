#include "view/file_drop.h"

#include "builder/rule_file.h"

namespace quorv {
namespace {

// The name ends with the extension, ASCII letters compared without case
// (an extension of ASCII letters cannot end inside a double-byte character
// whose trail byte is a letter, as it begins with its dot: a dot is never a
// trail byte).
bool HasExtension(const std::string& path, const char* extension) {
    const std::string ext(extension);
    if (path.size() <= ext.size()) return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        char c = path[path.size() - ext.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ext[i]) return false;
    }
    return true;
}

}  // namespace

DropKind ClassifyDrop(FileSystem& fs, const CodePage& cp, const std::vector<std::string>& paths) {
    if (paths.size() != 1) return DropKind::AddItems;
    const std::string& path = paths.front();
    const std::string name = EntryName(cp, path, fs.Separator());
    const bool rules = HasExtension(name, kRuleFileExtension);
    const bool batch = HasExtension(name, kBatchFileExtension);
    if (!rules && !batch) return DropKind::AddItems;
    FileStatus status;
    if (fs.GetStatus(path, status) && status.IsFolder()) return DropKind::AddItems;
    return rules ? DropKind::LoadRuleFile : DropKind::LoadBatchFile;
}

std::size_t AddDroppedItems(BatchSession& session, FileSystem& fs, const std::vector<std::string>& paths) {
    FileList& files = session.files;
    const char sep = fs.Separator();
    std::size_t added = 0;
    for (const std::string& path : paths) {
        FileStatus status;
        if (path.empty() || !fs.GetStatus(path, status)) continue;
        if (status.IsFolder()) {
            added += files.ScanFolder(fs, FolderWithSeparator(path, files.codePage(), sep) + "*.*", files.subfolders());
        } else {
            files.AppendUnique(path);
            ++added;
        }
    }
    if (added > 0) files.RebuildFileList();
    RefreshStatusLine(session);
    return added;
}

}  // namespace quorv
