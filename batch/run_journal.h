#pragma once
// The run journal: the record of a rename run that is on disk before the
// first file moves, so that a run cut short (the program killed, the machine
// gone down) can be taken back.
//
// A journal is a batch file followed by one more string list record. The
// batch file holds the window's state with the run already done: the master
// list, the displayed list, the run record with the paths the run leaves the
// files at (an entry the run does not move keeps the path of a rename that
// can still be undone, else its own path), the rule lines, and Undo enabled.
// The record after it holds the tag line "quorv run steps" and then three
// lines per planned move, in the order the moves are made: the entry's index
// in the displayed list (decimal), the path the file moves from, the path it
// moves to (the temporary names of swaps included). The last move of a swap
// or rotation (from its temporary name) has the parked file's size,
// modification time and file number (0 when unknown) after the index:
// "3 20480 1767225600 281474976710719". Readers of batch
// files stop after the fifth field, so a journal loads anywhere as a batch
// file.
//
// Taking a run back walks the steps from the last to the first and moves a
// file back when the step's target exists and its source does not (names
// compared as the file system compares them; for a step that changes only
// the letter case, the exact name the directory search returns). A step that
// did not happen finds its source still there or its target missing: the
// run's plan makes sure of that (an entry whose target is another entry's
// file has its own file). The one exception is the last move of a cycle, whose
// source is a temporary name: when that name is gone, the cycle went round
// or never started, which leave the same names; it went round when its
// target holds the parked file (its file number, or where there is none its
// size and modification time) and the parked file's old name does not.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_file.h"
#include "batch/rename_run.h"
#include "platform/filesystem.h"

namespace quorv {

// The window's journal, in the program's data folder.
inline constexpr const char* kRunJournalName = "RunJournal.qvb";
// The first line of the step record.
inline constexpr const char* kRunStepsTag = "quorv run steps";

struct JournalStep {
    std::uint32_t entry = 0;  // index in the displayed list
    std::string from;
    std::string to;
    // The last move of a cycle: the parked file as it was planned.
    bool parkedFile = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t fileId = 0;
};

struct RunJournal {
    BatchFile batch;
    std::vector<JournalStep> steps;
    bool hasSteps = false;  // a step record was read (a plain batch file has none)
};

std::string EncodeRunJournal(const RunJournal& journal);

// A batch file that may carry steps. The five fields decide as for a batch
// file; a step record that is missing, damaged or not tagged reads as none.
struct JournalLoadResult {
    BatchLoadResult load;
    std::vector<JournalStep> steps;
    bool hasSteps = false;
};
JournalLoadResult LoadRunJournal(FileSystem& fs, const std::string& path, const CodePage& codePage);
// The same from bytes (load.opened is set).
JournalLoadResult DecodeRunJournal(std::string_view bytes, const CodePage& codePage);

// Writes a journal (created or replaced as a whole); the outcome names the
// path when it fails.
SaveResult WriteRunJournal(FileSystem& fs, const std::string& path, const RunJournal& journal);

// ---- taking a run back

struct RollBackResult {
    std::string text;          // the undo lines, one per displayed entry, in list order
    std::size_t failures = 0;  // entries whose file could not be moved back
    std::size_t movedBack = 0;
};

// How many files taking the run back would move: the entries with a step
// that happened, and the entries without steps whose recorded path differs
// from their own and exists (a rename before the run that can be undone).
std::size_t FilesToMoveBack(FileSystem& fs, const CodePage& codePage, const RunJournal& journal);

// Takes the run back: the steps from the last to the first, then the
// entries without steps as Undo does. The line of an entry with steps is
// "roolback to" (from where the file was) when its moves were taken back,
// "roolback failed with" when one could not be, and its own path with
// "not changed" when none of its moves had happened. Attributes are reset
// as by Undo.
RollBackResult RollBackRun(FileSystem& fs, const CodePage& codePage, const RunJournal& journal);

// The question the window asks at start-up when a journal is left over:
// "The last rename run did not finish: N files were renamed. Rename them back?"
std::string UnfinishedRunQuestion(std::size_t files);

// ---- the window's part

// A journal left by a run that did not finish.
struct UnfinishedRun {
    bool found = false;       // a journal with steps was read whole
    RunJournal journal;
    std::size_t files = 0;    // FilesToMoveBack: 0 means there is nothing to ask
};
UnfinishedRun FindUnfinishedRun(FileSystem& fs, const std::string& journalPath, const CodePage& codePage);

// Takes the unfinished run back: the undo lines become the result text, the
// journal is removed, the status line is refreshed.
RollBackResult RollBackUnfinishedRun(BatchSession& session, FileSystem& fs, const std::string& journalPath,
                                     const RunJournal& journal);

// Rename with a journal at journalPath: written before the first move and
// removed after the last. When it cannot be written the run does not start:
// the result's message is the file-error text naming the path and
// journalFailed is set; nothing else changed.
struct JournaledRenameResult {
    CommandResult command;
    bool journalFailed = false;
};
JournaledRenameResult RenameWithJournal(BatchSession& session, FileSystem& fs, RunServices services,
                                        const std::string& journalPath);

}  // namespace quorv
