#pragma once
// Preview and Rename: walk the displayed list from top to bottom, ask the
// rule engine for each file's new path, write one result line per file and,
// when renaming, move each file (or convert the picture) and keep what was
// done for Undo. Also the status line of the main window.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch/file_list.h"
#include "engine/apply_rules.h"
#include "platform/filesystem.h"
#include "platform/services.h"

namespace quorv {

// The working state a window (or the command line) keeps for the batch
// commands: the file list with its run record, the rule lines, the text of
// the result list and the status line. Built from the session's services
// (their code page and separator); the services must outlive it.
struct BatchSession {
    explicit BatchSession(const Services& services)
        : services(&services), files(services.codePage(), services.separator()) {}
    const Services* services;
    FileList files;
    std::vector<std::string> rules;
    std::string resultText;  // lines ending in "\r\n"
    std::string statusLine;
};

enum class RunMode { Preview, Rename };

// What a run needs from outside: the new path of one file (the rule
// engine), the picture conversion, and the wait window's progress step (the
// index of the file just done). MakeRunServices gives the engine's; without
// newPath every path stays as it is, without convert a conversion fails.
struct RunServices {
    std::function<std::string(const std::string& path, std::int32_t fileNumber,
                              const std::vector<std::string>& rules)>
        newPath;
    std::function<bool(const std::string& source, const std::string& target)> convert;
    std::function<void(std::size_t index)> step;
};

// The rule engine and picture conversion of an engine context.
RunServices MakeRunServices(const EngineContext& ctx);

// The texts of the run commands.
extern const char kEmptyFileListMessage[];  // "The file list is null, please add file first."
extern const char kNoRulesMessage[];        // "Please define the rename rules."
extern const char kWaitCaption[];           // "Renaming in progress..."

// The result lines, each ending in "\r\n".
std::string NotChangedLine(const std::string& oldPath);
std::string ChangedLine(const std::string& oldPath, const std::string& newPath, RunMode mode);
std::string ChangeFailedLine(const std::string& oldPath, const std::string& newPath);

// True when the path carries the conversion marker after its first character.
bool HasConversionMarker(const std::string& path);

// The run itself, once the lists have been checked. Refills the run
// record from the displayed list, replaces the result text, keeps each
// entry's outcome, and sets Undo (enabled after Rename, whatever happened;
// disabled after Preview). Returns the number of entries that failed.
std::size_t RenameRun(BatchSession& session, FileSystem& fs, RunMode mode, const RunServices& services);

// Why Preview and Rename refuse to run: the message to show when the file
// list or the rule list is empty (the file list is named first), null when
// the run may go ahead. The commands below ask it; a caller that must do
// something before the run only when it goes ahead (let the quick preview
// release its file, save a batch file) asks it first.
const char* RunRefusal(const BatchSession& session);

// The outcome of the Preview or Rename command.
struct CommandResult {
    // Non-empty when the command did not run: the message to show
    // (the file list or the rule list is empty). Nothing else changed.
    std::string message;
    std::size_t failures = 0;
    bool ran() const { return message.empty(); }
};

// Preview: checks the lists, runs; the status line is left as it is.
CommandResult PreviewCommand(BatchSession& session, FileSystem& fs, const RunServices& services);
// Rename: checks the lists, runs (the caller lets the quick preview release
// its file before), then refreshes the status line.
CommandResult RenameCommand(BatchSession& session, FileSystem& fs, const RunServices& services);

// The status line for the given state.
std::string StatusLineText(std::size_t displayedCount, std::size_t ruleCount, bool undoEnabled);
// Recomputes session.statusLine.
void RefreshStatusLine(BatchSession& session);

}  // namespace quorv
