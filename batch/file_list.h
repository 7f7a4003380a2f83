#pragma once
// The file list: the master list of every gathered file, the displayed list
// that shows it through the name filter (and that the user may reorder), the
// selection and focus of the displayed list, the run record of the last run
// with each entry's outcome, and whether Undo is possible.
//
// A list box mirrors this model after every command: DisplayedCount(),
// DisplayedText(i), IsSelected(i) and Focus() are all it needs, and the two
// revision counters tell it whether the texts or only the selection changed.
//
// The displayed list is one row per entry: its path, its selection mark and
// its run record entry with the entry's outcome. When the user reorders the
// displayed list (move up, move down, sort), the run record travels with the
// rows, so that Undo (which pairs the two by position) still moves every file
// back to its own old path. A run record whose length differs from the
// displayed list (one loaded from a batch file, or one left behind when
// entries were removed) cannot belong to the rows: it is kept by position
// beside them until the lengths agree again, and reordering then disables
// Undo.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

// The name filter of the file list.
struct FilterSettings {
    std::string text;        // used as typed, not trimmed
    bool matchCase = false;  // "Case": compare letter case exactly
    bool exclude = false;    // "Exclude": hide the matching files
};

// The filter test of one entry (by the name after the last separator).
bool FilterShows(const CodePage& cp, char separator, const std::string& path, const FilterSettings& filter);

// The name of an entry as the filter sees it: the text after the last
// separator, the whole text when there is none.
std::string EntryName(const CodePage& cp, const std::string& path, char separator);

// The name of an entry as Sort by name sees it: as EntryName, except that a
// separator that is the first character does not count.
std::string SortName(const CodePage& cp, const std::string& path, char separator);

// What happened to one entry in the last run. Entries of a run record loaded
// from a batch file have no known outcome.
enum class EntryOutcome : std::uint8_t {
    Unknown,     // not known (loaded from a batch file)
    NotChanged,  // the rules left the path as it was
    Previewed,   // a preview computed a new path; nothing was done
    Renamed,     // moved to the new path
    Converted,   // a converted copy was written; the file itself stayed
    Failed,      // the move or the conversion failed; the file stayed
};

// The folder with one separator at its end (none added when it ends with
// one). The test looks at whole characters: a double-byte character whose
// trail byte equals the separator ("\x95\x5C" in code page 932) is no
// separator.
std::string FolderWithSeparator(const std::string& folder, const CodePage& cp, char separator);

// Deepest folder level below the chosen folder that Add Dir descends to.
constexpr int kMaxScanDepth = 256;

// The last change of the displayed texts, so that a list box that shows the
// list as it was one revision earlier can follow it without a refill of
// every entry.
struct RowChange {
    enum class Kind {
        Any,      // anything: a new list, a new order
        Swapped,  // rows `first` and `first + 1` traded places
        Removed,  // the rows `removed` (ascending, numbered as before) went
    };
    Kind kind = Kind::Any;
    std::size_t first = 0;
    std::vector<std::size_t> removed;
};

// One entry of the run record: the new path the last run computed for a
// displayed entry, and what happened to it.
struct RunEntry {
    std::string newPath;
    EntryOutcome outcome = EntryOutcome::Unknown;
};

class FileList {
public:
    FileList(const CodePage& cp, char separator);

    char separator() const { return sep_; }
    const CodePage& codePage() const { return *cp_; }

    // ---- master list
    std::size_t MasterCount() const { return master_.size() - deadCount_; }
    std::vector<std::string> MasterList() const;
    // Removes every entry equal to path ignoring letter case, then appends path.
    void AppendUnique(const std::string& path);
    // Appends without the check (the handoff file brings duplicates this way).
    void Append(const std::string& path);
    // Replaces the master list (batch load); duplicates are kept.
    void SetMasterList(const std::vector<std::string>& paths);
    // Removes every master entry exactly equal to path (letter case
    // included), as after moving that file away; returns how many went. The
    // displayed list is left as it is until the next rebuild.
    std::size_t RemoveMasterEntries(const std::string& path);

    // ---- filter settings
    const FilterSettings& filter() const { return filter_; }
    // Each change of the filter text rebuilds the displayed list.
    void SetFilterText(const std::string& text);
    // "Case" and "Exclude" rebuild only when the filter text is not empty.
    void SetMatchCase(bool on);
    void SetExclude(bool on);
    bool subfolders() const { return subfolders_; }
    void SetSubfolders(bool on) { subfolders_ = on; }

    // ---- gathering
    // Add Files: AppendUnique for each path in order, then a rebuild.
    void AddFiles(const std::vector<std::string>& paths);
    // Add Dir: scans folder (a trailing separator is added when missing)
    // with its sub-folders when subfolders() is set, then rebuilds.
    void AddFolder(FileSystem& fs, const std::string& folder);
    // Appends (through AppendUnique) every file that matches pattern (a
    // folder, the separator and a wild-card name), depth first into
    // sub-folders when subfolders is set. Folders that are links are not
    // entered (they may lead back up the tree), and the scan goes no deeper
    // than kMaxScanDepth levels. Returns the number of files appended.
    std::size_t ScanFolder(FileSystem& fs, const std::string& pattern, bool subfolders);

    // ---- displayed list
    std::size_t DisplayedCount() const { return rows_.size(); }
    // i must be below DisplayedCount().
    const std::string& DisplayedText(std::size_t i) const { return rows_[i].path; }
    std::vector<std::string> DisplayedList() const;
    // Refills the displayed list from the master list through the filter and
    // disables Undo. Selection is cleared; the focus goes to the first entry.
    void RebuildFileList();
    // Replaces the displayed list as it is (batch load): no filter, no rebuild.
    void SetDisplayedList(const std::vector<std::string>& paths);
    // Goes up by one with every change of the displayed texts or their order.
    std::uint64_t revision() const { return revision_; }
    // The change that made the current revision out of the one before.
    const RowChange& lastChange() const { return lastChange_; }

    // ---- selection and focus
    bool IsSelected(std::size_t i) const { return i < rows_.size() && rows_[i].selected; }
    void SetSelected(std::size_t i, bool on);
    std::size_t SelectedCount() const;
    void SelectAll();
    void InvertSelection();
    // Index of the focused entry; -1 when the list is empty.
    std::ptrdiff_t Focus() const { return focus_; }
    void SetFocus(std::ptrdiff_t i);
    // Goes up by one with every change of the selection or the focus
    // (including the changes that come with a new displayed list).
    std::uint64_t selectionRevision() const { return selectionRevision_; }

    // ---- commands on the displayed list
    // Removes the selected entries (and for each the first exactly equal
    // master entry); disables Undo when anything was selected. Returns the
    // number removed.
    std::size_t RemoveSelected();
    void RemoveAll();
    // Move the focused entry one place up or down; nothing unless some entry
    // is selected. The moved entry is selected and keeps the focus. True when moved.
    bool MoveFocusedUp();
    bool MoveFocusedDown();
    // Stable sort by name without regard to letter case.
    void SortByName();

    // ---- the last run
    // The run record: one path per displayed entry, the new paths of the last run.
    std::size_t RunRecordSize() const { return attached_ ? rows_.size() : detached_.size(); }
    // i must be below RunRecordSize().
    const std::string& RunRecordPath(std::size_t i) const {
        return attached_ ? rows_[i].run.newPath : detached_[i].newPath;
    }
    std::vector<std::string> RunRecord() const;
    // Outcome of run record entry i (Unknown when not known).
    EntryOutcome Outcome(std::size_t i) const;
    // Replaces the run record; outcomes become unknown (batch load).
    void SetRunRecord(const std::vector<std::string>& paths);
    // Replaces both (a run).
    void SetRun(std::vector<std::string> paths, std::vector<EntryOutcome> outcomes);

    bool UndoEnabled() const { return undoEnabled_; }
    void SetUndoEnabled(bool on) { undoEnabled_ = on; }

private:
    struct Row {
        std::string path;
        bool selected = false;
        RunEntry run;  // meaningful while the run record is attached
    };

    std::string Folded(const std::string& s) const { return cp_->Lower(s); }
    static std::size_t Hash(const std::string& folded) { return std::hash<std::string>{}(folded); }
    void IndexAdd(std::size_t i);
    void KillMaster(std::size_t i);
    void CompactIfSparse();
    void ApplyOrder(const std::vector<std::size_t>& order, RowChange change = {});
    std::size_t ScanInto(FileSystem& fs, const std::string& pattern, bool subfolders, int depth);
    // The run record leaves the rows before they are replaced or removed,
    // and joins them again when the lengths agree.
    void DetachRecord();
    void AttachRecordIfItFits();
    void SetRows(std::vector<Row> rows);
    void TextsChanged(RowChange change = {}) {
        ++revision_;
        ++selectionRevision_;
        lastChange_ = std::move(change);
    }

    const CodePage* cp_;
    char sep_;

    // Master list with lazy removal: dead_[i] marks removed entries until
    // the next compaction; index_ maps the hash of the lower-cased path to
    // the indices of the live entries (candidates are compared in full).
    std::vector<std::string> master_;
    std::vector<char> dead_;
    std::size_t deadCount_ = 0;
    std::unordered_multimap<std::size_t, std::size_t> index_;

    FilterSettings filter_;
    bool subfolders_ = false;

    std::vector<Row> rows_;
    std::ptrdiff_t focus_ = -1;
    std::uint64_t revision_ = 0;
    std::uint64_t selectionRevision_ = 0;
    RowChange lastChange_;

    // The run record lives in the rows while attached_, else here by position.
    bool attached_ = false;
    std::vector<RunEntry> detached_;
    bool undoEnabled_ = false;
};

}  // namespace quorv
