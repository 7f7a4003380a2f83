#include "batch/file_list.h"

#include "platform/mbtext.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

namespace quorv {
namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::string& s, const std::string& head) {
    return s.size() >= head.size() && s.compare(0, head.size(), head) == 0;
}

// Byte order of two texts, bytes taken as unsigned.
int CompareBytes(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

std::string EntryName(const CodePage& cp, const std::string& path, char separator) {
    const auto pos = mb::FindLastChar(cp, path, separator);
    return pos == mb::npos ? path : path.substr(pos + 1);
}

std::string SortName(const CodePage& cp, const std::string& path, char separator) {
    const auto pos = mb::FindLastChar(cp, path, separator);
    return (pos == mb::npos || pos == 0) ? path : path.substr(pos + 1);
}

bool FilterShows(const CodePage& cp, char separator, const std::string& path, const FilterSettings& filter) {
    if (filter.text.empty()) return true;
    std::string name = EntryName(cp, path, separator);
    std::string f = filter.text;
    if (!filter.matchCase) {
        name = cp.Lower(std::move(name));
        f = cp.Lower(std::move(f));
    }
    bool match;
    const auto star = f.find('*');
    if (star == std::string::npos) {
        match = name.find(f) != std::string::npos;
    } else if (star == 0) {
        // Leading asterisk: the rest (further asterisks included) must end the name.
        match = EndsWith(name, f.substr(1));
    } else if (star == f.size() - 1) {
        // The only asterisk is the last character: the text before it must begin the name.
        match = StartsWith(name, f.substr(0, star));
    } else {
        // Inside: begins with the text before and ends with the text after,
        // tested independently (they may overlap).
        match = StartsWith(name, f.substr(0, star)) && EndsWith(name, f.substr(star + 1));
    }
    return match != filter.exclude;
}

std::string FolderWithSeparator(const std::string& folder, const CodePage& cp, char separator) {
    std::string f = folder;
    if (f.empty() || mb::FindLastChar(cp, f, separator) != f.size() - 1) f += separator;
    return f;
}

FileList::FileList(const CodePage& cp, char separator) : cp_(&cp), sep_(separator) {}

// ---------------------------------------------------------------- master list

std::vector<std::string> FileList::MasterList() const {
    std::vector<std::string> out;
    out.reserve(MasterCount());
    for (std::size_t i = 0; i < master_.size(); ++i)
        if (!dead_[i]) out.push_back(master_[i]);
    return out;
}

void FileList::IndexAdd(std::size_t i) { index_.emplace(Hash(Folded(master_[i])), i); }

void FileList::KillMaster(std::size_t i) {
    if (dead_[i]) return;
    dead_[i] = 1;
    ++deadCount_;
}

void FileList::CompactIfSparse() {
    if (deadCount_ < 1024 || deadCount_ * 2 < master_.size()) return;
    std::vector<std::string> live;
    live.reserve(master_.size() - deadCount_);
    for (std::size_t i = 0; i < master_.size(); ++i)
        if (!dead_[i]) live.push_back(std::move(master_[i]));
    SetMasterList(live);
}

void FileList::AppendUnique(const std::string& path) {
    const std::string key = Folded(path);
    const std::size_t hash = Hash(key);
    // Every live entry equal ignoring case goes (also one standing right
    // after another equal one: the list must end up free of them).
    const auto range = index_.equal_range(hash);
    for (auto it = range.first; it != range.second;) {
        if (Folded(master_[it->second]) == key) {
            KillMaster(it->second);
            it = index_.erase(it);
        } else {
            ++it;
        }
    }
    master_.push_back(path);
    dead_.push_back(0);
    index_.emplace(hash, master_.size() - 1);
    CompactIfSparse();
}

void FileList::Append(const std::string& path) {
    master_.push_back(path);
    dead_.push_back(0);
    IndexAdd(master_.size() - 1);
}

std::size_t FileList::RemoveMasterEntries(const std::string& path) {
    std::size_t removed = 0;
    const auto range = index_.equal_range(Hash(Folded(path)));
    for (auto it = range.first; it != range.second;) {
        if (master_[it->second] == path) {
            KillMaster(it->second);
            it = index_.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    CompactIfSparse();
    return removed;
}

void FileList::SetMasterList(const std::vector<std::string>& paths) {
    std::vector<std::string> copy(paths);
    master_.swap(copy);
    dead_.assign(master_.size(), 0);
    deadCount_ = 0;
    index_.clear();
    index_.reserve(master_.size());
    for (std::size_t i = 0; i < master_.size(); ++i) IndexAdd(i);
}

// ---------------------------------------------------------------- filter

void FileList::SetFilterText(const std::string& text) {
    filter_.text = text;
    RebuildFileList();
}

void FileList::SetMatchCase(bool on) {
    filter_.matchCase = on;
    if (!filter_.text.empty()) RebuildFileList();
}

void FileList::SetExclude(bool on) {
    filter_.exclude = on;
    if (!filter_.text.empty()) RebuildFileList();
}

// ---------------------------------------------------------------- gathering

void FileList::AddFiles(const std::vector<std::string>& paths) {
    for (const auto& p : paths) AppendUnique(p);
    RebuildFileList();
}

void FileList::AddFolder(FileSystem& fs, const std::string& folder) {
    ScanFolder(fs, FolderWithSeparator(folder, *cp_, sep_) + "*.*", subfolders_);
    RebuildFileList();
}

std::size_t FileList::ScanFolder(FileSystem& fs, const std::string& pattern, bool subfolders) {
    return ScanInto(fs, pattern, subfolders, 0);
}

std::size_t FileList::ScanInto(FileSystem& fs, const std::string& pattern, bool subfolders, int depth) {
    const auto pos = mb::FindLastChar(*cp_, pattern, sep_);
    const std::string folder = pos == mb::npos ? std::string() : pattern.substr(0, pos + 1);
    std::size_t added = 0;
    std::string full;
    fs.FindNames(pattern, [&](const DirEntry& e) {
        const bool dots = e.name == "." || e.name == "..";
        if (e.IsFolder()) {
            if (subfolders && !dots && !e.IsLink() && depth < kMaxScanDepth) {
                std::string sub = folder + e.name;
                sub += sep_;
                sub += "*.*";
                added += ScanInto(fs, sub, subfolders, depth + 1);
            }
            return true;
        }
        if (dots || e.name.empty()) return true;
        full.assign(folder);
        full += e.name;
        AppendUnique(full);
        ++added;
        return true;
    });
    return added;
}

// ---------------------------------------------------------------- displayed list

std::vector<std::string> FileList::DisplayedList() const {
    std::vector<std::string> out;
    out.reserve(rows_.size());
    for (const Row& row : rows_) out.push_back(row.path);
    return out;
}

void FileList::DetachRecord() {
    if (!attached_) return;
    detached_.clear();
    detached_.reserve(rows_.size());
    for (Row& row : rows_) detached_.push_back(std::move(row.run));
    attached_ = false;
}

void FileList::AttachRecordIfItFits() {
    if (attached_ || detached_.size() != rows_.size()) return;
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].run = std::move(detached_[i]);
    detached_.clear();
    attached_ = true;
}

void FileList::SetRows(std::vector<Row> rows) {
    DetachRecord();
    rows_ = std::move(rows);
    focus_ = rows_.empty() ? -1 : 0;
    AttachRecordIfItFits();
    TextsChanged();
}

void FileList::RebuildFileList() {
    std::vector<Row> rows;
    // Without a filter every live entry shows: the rows are made in one go
    // instead of growing row by row (a filter may show a few only).
    if (filter_.text.empty()) rows.reserve(master_.size() - deadCount_);
    for (std::size_t i = 0; i < master_.size(); ++i)
        if (!dead_[i] && FilterShows(*cp_, sep_, master_[i], filter_)) rows.push_back(Row{master_[i], false, {}});
    SetRows(std::move(rows));
    undoEnabled_ = false;
}

void FileList::SetDisplayedList(const std::vector<std::string>& paths) {
    std::vector<Row> rows;
    rows.reserve(paths.size());
    for (const std::string& p : paths) rows.push_back(Row{p, false, {}});
    SetRows(std::move(rows));
}

// ---------------------------------------------------------------- selection

void FileList::SetSelected(std::size_t i, bool on) {
    if (i < rows_.size() && rows_[i].selected != on) {
        rows_[i].selected = on;
        ++selectionRevision_;
    }
}

std::size_t FileList::SelectedCount() const {
    return static_cast<std::size_t>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; }));
}

void FileList::SelectAll() {
    for (Row& row : rows_) row.selected = true;
    ++selectionRevision_;
}

void FileList::InvertSelection() {
    for (Row& row : rows_) row.selected = !row.selected;
    ++selectionRevision_;
}

void FileList::SetFocus(std::ptrdiff_t i) {
    ++selectionRevision_;
    if (rows_.empty()) {
        focus_ = -1;
        return;
    }
    if (i < 0) i = 0;
    if (static_cast<std::size_t>(i) >= rows_.size()) i = static_cast<std::ptrdiff_t>(rows_.size()) - 1;
    focus_ = i;
}

// ---------------------------------------------------------------- commands

std::size_t FileList::RemoveSelected() {
    if (SelectedCount() == 0) return 0;
    std::size_t removed = 0;
    std::ptrdiff_t newFocus = focus_;
    RowChange change;
    change.kind = RowChange::Kind::Removed;
    // From the last entry to the first, as the list box is emptied.
    for (std::size_t k = rows_.size(); k-- > 0;) {
        if (!rows_[k].selected) continue;
        change.removed.push_back(k);
        const std::string& text = rows_[k].path;
        // The first master entry with exactly this text.
        const auto range = index_.equal_range(Hash(Folded(text)));
        auto best = index_.end();
        for (auto it = range.first; it != range.second; ++it)
            if (master_[it->second] == text && (best == index_.end() || it->second < best->second)) best = it;
        if (best != index_.end()) {
            KillMaster(best->second);
            index_.erase(best);
        }
        if (focus_ >= 0 && static_cast<std::ptrdiff_t>(k) < focus_) --newFocus;
        ++removed;
    }
    DetachRecord();
    std::vector<Row> keep;
    keep.reserve(rows_.size() - removed);
    for (Row& row : rows_)
        if (!row.selected) keep.push_back(Row{std::move(row.path), false, {}});
    rows_.swap(keep);
    AttachRecordIfItFits();
    std::reverse(change.removed.begin(), change.removed.end());
    TextsChanged(std::move(change));
    SetFocus(newFocus);
    undoEnabled_ = false;
    CompactIfSparse();
    return removed;
}

void FileList::RemoveAll() {
    SetRows({});
    master_.clear();
    dead_.clear();
    deadCount_ = 0;
    index_.clear();
    undoEnabled_ = false;
}

bool FileList::MoveFocusedUp() {
    if (SelectedCount() == 0 || focus_ <= 0) return false;
    const auto i = static_cast<std::size_t>(focus_);
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::swap(order[i], order[i - 1]);
    ApplyOrder(order, RowChange{RowChange::Kind::Swapped, i - 1, {}});
    rows_[i - 1].selected = true;
    focus_ = static_cast<std::ptrdiff_t>(i - 1);
    return true;
}

bool FileList::MoveFocusedDown() {
    if (SelectedCount() == 0 || focus_ < 0) return false;
    const auto i = static_cast<std::size_t>(focus_);
    if (i + 1 >= rows_.size()) return false;
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::swap(order[i], order[i + 1]);
    ApplyOrder(order, RowChange{RowChange::Kind::Swapped, i, {}});
    rows_[i + 1].selected = true;
    focus_ = static_cast<std::ptrdiff_t>(i + 1);
    return true;
}

void FileList::ApplyOrder(const std::vector<std::size_t>& order, RowChange change) {
    // A run record kept beside the rows cannot follow them: never let Undo
    // move the wrong file.
    if (!attached_ && undoEnabled_ && !detached_.empty()) undoEnabled_ = false;
    std::ptrdiff_t newFocus = focus_;
    std::vector<Row> rows;
    rows.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (static_cast<std::ptrdiff_t>(order[k]) == focus_) newFocus = static_cast<std::ptrdiff_t>(k);
        rows.push_back(std::move(rows_[order[k]]));
    }
    rows_.swap(rows);
    focus_ = newFocus;
    TextsChanged(std::move(change));
}

void FileList::SortByName() {
    if (rows_.size() < 2) return;
    std::vector<std::string> names;
    names.reserve(rows_.size());
    for (const Row& row : rows_) names.push_back(Folded(SortName(*cp_, row.path, sep_)));
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // The swap-when-greater bubble sort is stable: equal names keep their order.
    std::stable_sort(order.begin(), order.end(),
                     [&names](std::size_t a, std::size_t b) { return CompareBytes(names[a], names[b]) < 0; });
    bool identity = true;
    for (std::size_t k = 0; k < order.size() && identity; ++k) identity = order[k] == k;
    if (!identity) ApplyOrder(order);
}

// ---------------------------------------------------------------- the last run

std::vector<std::string> FileList::RunRecord() const {
    std::vector<std::string> out;
    out.reserve(RunRecordSize());
    for (std::size_t i = 0; i < RunRecordSize(); ++i) out.push_back(RunRecordPath(i));
    return out;
}

EntryOutcome FileList::Outcome(std::size_t i) const {
    if (i >= RunRecordSize()) return EntryOutcome::Unknown;
    return attached_ ? rows_[i].run.outcome : detached_[i].outcome;
}

void FileList::SetRunRecord(const std::vector<std::string>& paths) {
    SetRun(paths, std::vector<EntryOutcome>(paths.size(), EntryOutcome::Unknown));
}

void FileList::SetRun(std::vector<std::string> paths, std::vector<EntryOutcome> outcomes) {
    DetachRecord();
    detached_.clear();
    detached_.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        detached_.push_back(RunEntry{std::move(paths[i]), i < outcomes.size() && outcomes.size() == paths.size()
                                                              ? outcomes[i]
                                                              : EntryOutcome::Unknown});
    AttachRecordIfItFits();
}

}  // namespace quorv
