#pragma once
// What files and folders dropped on the main window from the file manager
// do, decided without a window: a rule file dropped alone replaces the rule
// list (as a favourite does), a batch file dropped alone loads (as
// LoadBatch does), and any other drop adds its items to the file list, a
// file as Add Files adds one and a folder as Add Dir scans it.
#include <string>
#include <vector>

#include "batch/rename_run.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

// The batch file's extension (the rule file's is kRuleFileExtension).
inline constexpr const char* kBatchFileExtension = ".qvb";

enum class DropKind { AddItems, LoadRuleFile, LoadBatchFile };

// A drop of exactly one file whose name ends in ".qvr" or ".qvb" (letter
// case aside) loads it; every other drop adds its items, rule and batch
// files among several items included (they are files to rename like any).
// A folder named like a rule file is a folder. Nothing dropped: AddItems of
// nothing.
DropKind ClassifyDrop(FileSystem& fs, const CodePage& cp, const std::vector<std::string>& paths);

// Adds the dropped items in the order dropped: each file through
// AppendUnique, as Add Files does; each folder scanned as Add Dir scans it
// (its sub-folders too when "Subdir" is checked). A path that is neither
// (gone meanwhile) adds nothing. Then one rebuild through the filter, when
// anything was added, and the status line. Returns the number of files added.
std::size_t AddDroppedItems(BatchSession& session, FileSystem& fs, const std::vector<std::string>& paths);

}  // namespace quorv
