#pragma once
// The plan of a run, made before the first file moves: which entries the
// run refuses (a name Windows would refuse or alter, two files wanting one
// name, a name taken by a file that stays) and the order of the moves in
// which each one can succeed (a move waits until the entry holding its
// target has left; a swap or rotation goes through a temporary name). The
// preview shows the plan, the rename carries it out, Undo plans its way
// back the same way, and the run journal lists its steps.
//
// Moves never overwrite: whatever happens while the plan is carried out, a
// file either reaches its target, stays where it was, or (a parked file
// whose last move failed and whose old name was taken meanwhile) stays
// under its temporary name, which the caller records.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

// Why the plan refuses an entry. A refused entry's file is not touched.
enum class Refusal : std::uint8_t {
    None,
    NameTaken,       // a file that stays holds the target
    SameTarget,      // an earlier entry of the run wants the same name
    NameNotAllowed,  // Windows would refuse or alter the name
    WaitsOnRefused,  // its target is held by a refused entry's file
    SourceMissing,   // its file is not there, and its target is another entry's file
};

// The short reason a preview line shows for a refusal ("the name is
// taken", "two files want the name", "Windows does not allow the name",
// "it waits on a refused file", "the file is missing"); empty for None.
const char* RefusalReason(Refusal refusal);

// True when Windows takes the name (one path component) as it stands: not
// empty, not ending in a dot or a blank, no character Windows refuses
// (< > : " | ? * and control characters; with '/' as the separator also a
// backslash, which Windows would take for a separator), not a device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without an extension,
// in any letter case) and at most 255 UTF-16 units long.
bool IsNameAllowed(const CodePage& codePage, char separator, std::string_view name);

// True when every component of newPath from the first one that differs
// from oldPath is allowed; the folders both paths share, and the root
// ("C:\\", "\\\\server\\share\\", "/"), are not looked at. On Windows a '/'
// separates components as a backslash does.
bool IsNewPathAllowed(const CodePage& codePage, char separator, std::string_view oldPath,
                      std::string_view newPath);

// What a run does with one entry.
enum class PlanKind : std::uint8_t {
    Skip,     // nothing (the path does not change, or Undo leaves it alone)
    Move,     // the file moves from its path to the target
    Convert,  // a converted copy is written to the target; the file stays
};

// What the plan is made from, one element per entry. from and to point at
// strings that outlive the plan and its carrying out.
struct PlanInput {
    std::vector<PlanKind> kinds;
    std::vector<const std::string*> from;  // the file's path now
    // Move: the new path. Convert: the converted picture's path (null when
    // the format has none: the conversion fails, nothing is claimed).
    std::vector<const std::string*> to;
    bool checkNames = true;  // Undo goes back to names that existed
    // Whether to ask the file system which targets are taken. Undo does not:
    // a way back that is taken fails on its own (moves never overwrite),
    // and so do the moves waiting on it, without a folder being read first.
    bool checkTaken = true;

    void Reserve(std::size_t n);
    void Add(PlanKind kind, const std::string* fromPath, const std::string* toPath);
    std::size_t size() const { return kinds.size(); }
};

// One step of a plan.
struct PlanStep {
    enum class Kind : std::uint8_t {
        Direct,   // from -> to
        Park,     // from -> the entry's temporary name (first step of a cycle)
        Unpark,   // the temporary name -> to (last step of a cycle)
        Convert,  // the conversion; nothing moves
    };
    std::uint32_t entry;
    Kind kind;
};

// The first entry of a cycle, parked under a temporary name, and what its
// file looked like when the run was planned (so that taking a run back can
// tell a cycle that went round from one that never started: both leave the
// same names behind).
struct ParkedEntry {
    std::uint32_t entry = 0;
    std::string temporaryName;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t fileId = 0;  // 0: the file system has none
};

struct RunPlan {
    std::vector<Refusal> refusals;  // one per entry
    std::vector<PlanStep> steps;    // in execution order
    std::vector<ParkedEntry> parked;  // sorted by entry

    const ParkedEntry* Parked(std::uint32_t entry) const;
    // The parked entry's temporary name; empty for any other entry.
    const std::string& TemporaryName(std::uint32_t entry) const;
    std::size_t RefusedCount() const;
};

// Plans the run. Looks at the file system only to ask whether a target not
// freed by the run is taken, whether the file of an entry whose target is
// another entry's file is there (a step whose file was missing from the
// start could not be told from one that happened when a run is taken back),
// and, for each cycle, for a free temporary name and the parked file's status.
// Names are compared as the file system compares them (letter case ignored
// where it ignores case).
RunPlan PlanRun(FileSystem& fs, const CodePage& codePage, const PlanInput& input);

// The from and to paths of a step (a parked entry's temporary name in
// place of the one it stands for); empty for a conversion.
std::pair<const std::string*, const std::string*> StepPaths(const RunPlan& plan, const PlanInput& input,
                                                            const PlanStep& step);

// What happened to an entry when a plan was carried out.
enum class StepOutcome : std::uint8_t {
    NotRun,     // refused or skipped: nothing was tried
    Done,       // the file is at its target
    Failed,     // the file stayed at its path (or came back to it)
    Unseen,     // the move said yes but the names did not show it
    Converted,  // the converted copy was written
    Parked,     // left under its temporary name (its target and its old name were taken)
};

struct CarryOutOptions {
    // Believe a move only when the new name is there afterwards, exactly as
    // asked for (a directory search for the exact name). Asked only where
    // names ignore letter case: there a file system may keep the old
    // spelling; where every byte counts a rename that succeeded leaves
    // exactly the name it was given.
    bool verify = false;
    // Set the file's attributes to normal (its times written back) before
    // it moves, and give them back when it cannot; as Undo does.
    bool resetAttributes = false;
    // The conversion of a Convert entry; a missing one fails.
    std::function<bool(std::size_t entry)> convert;
    // Called with the number of entries finished so far, minus one.
    std::function<void(std::size_t done)> step;
};

// Carries the plan out, one step at a time; one outcome per entry.
std::vector<StepOutcome> CarryOut(FileSystem& fs, const RunPlan& plan, const PlanInput& input,
                                  const CarryOutOptions& options);

// Undo's move of one file: its attributes set to normal (its times written
// back) before, given back when the move fails. False when the file stays.
bool MoveWithNormalAttributes(FileSystem& fs, const std::string& from, const std::string& to);

// The folder part of a path, up to and including its last separator (a
// separator inside a double-byte character is none); empty when there is none.
std::string FolderOfPath(const CodePage& codePage, char separator, const std::string& path);

}  // namespace quorv
