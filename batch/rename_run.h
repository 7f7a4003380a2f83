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

struct RunJournal;

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
// engine), the picture conversion, the wait window's progress step, and the
// run journal. MakeRunServices gives the engine's; without newPath every
// path stays as it is, without convert a conversion fails.
struct RunServices {
    std::function<std::string(const std::string& path, std::int32_t fileNumber,
                              const std::vector<std::string>& rules)>
        newPath;
    std::function<bool(const std::string& source, const std::string& target)> convert;
    // The position of the progress bar, 0 to the number of entries - 1,
    // never going back: a preview moves it once per new path; a rename
    // spends its first half on the new paths and its second on the moves.
    std::function<void(std::size_t position)> step;
    // Rename only: called once, after the plan and before the first move,
    // with the run's journal to be put on disk. The run goes ahead only when
    // it returns true; otherwise it ends there and the session is left as
    // it was.
    std::function<bool(const RunJournal& journal)> journal;
    // How many threads may compute the new paths at once (1: the caller's
    // alone). More only when newPath may be called from several threads at
    // once; step and journal are always called from the caller's thread.
    unsigned threads = 1;
};

// The threads worth running a run's work on: the cores, at most 8.
unsigned RunThreads();
// The threads a run of these rules may compute its new paths on with the
// running system's services: RunThreads(), but one when a rule reads tags or
// pictures, whose libraries are not made for several threads.
unsigned NewPathThreads(const CodePage& cp, const std::vector<std::string>& rules);

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
// What a preview line carries before its "\r\n" when the rename would refuse
// the entry: "  (refused: " + the reason + ")".
std::string PreviewRefusalSuffix(const char* reason);

// True when the path carries the conversion marker after its first character.
bool HasConversionMarker(const std::string& path);

// The run itself (Preview and Rename command step 3 on). Computes every new
// path, plans the run (the refusals and the order of the moves), and writes
// one result line per entry in list order.
// - Rename carries the plan out (a refused entry is not touched and gets the
//   failure line), replaces the run record with the new paths and each
//   entry's outcome, and enables Undo whatever happened. While an earlier
//   rename can still be undone, an entry that moved nothing this time keeps
//   that rename's record, so Undo still brings its file back.
// - Preview moves nothing and marks the line of each entry the rename would
//   refuse with its reason (PreviewRefusalSuffix). It replaces the run record
//   only when no rename is waiting for Undo; Undo stays as it was.
// Returns the number of entries that failed (for a preview: that would be
// refused).
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
