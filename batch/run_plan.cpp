#include "batch/run_plan.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <limits>
#include <memory>
#include <unordered_map>

#include "batch/helper_thread.h"
#include "platform/mbtext.h"

namespace quorv {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

bool IsSeparatorChar(char c, char separator) { return c == separator || (separator == '\\' && c == '/'); }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsAsciiNoCase(std::string_view a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == '\0' || UpperAscii(a[i]) != b[i]) return false;
    return b[i] == '\0';
}

// The device names Windows reserves, whatever follows the first dot.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    if (base.size() == 3)
        return EqualsAsciiNoCase(base, "CON") || EqualsAsciiNoCase(base, "PRN") || EqualsAsciiNoCase(base, "AUX") ||
               EqualsAsciiNoCase(base, "NUL");
    if (base.size() == 4 && base[3] >= '1' && base[3] <= '9')
        return EqualsAsciiNoCase(base.substr(0, 3), "COM") || EqualsAsciiNoCase(base.substr(0, 3), "LPT");
    return false;
}

// Length of the root of a path, which is no name: "C:\\", "\\\\server\\share\\",
// "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share\\" on Windows, the leading slashes natively.
std::size_t RootLength(std::string_view p, char separator) {
    std::size_t i = 0;
    // Skips one component and the separator after it.
    auto skipComponent = [&]() {
        while (i < p.size() && !IsSeparatorChar(p[i], separator)) ++i;
        if (i < p.size()) ++i;
    };
    if (separator != '\\') {
        while (i < p.size() && p[i] == separator) ++i;
        return i;
    }
    if (p.size() >= 2 && IsSeparatorChar(p[0], separator) && IsSeparatorChar(p[1], separator)) {
        i = 2;
        if (p.size() >= 4 && (p[2] == '?' || p[2] == '.') && IsSeparatorChar(p[3], separator)) {
            i = 4;
            if (p.size() >= i + 4 && EqualsAsciiNoCase(p.substr(i, 3), "UNC") && IsSeparatorChar(p[i + 3], separator)) {
                i += 4;
                skipComponent();
                skipComponent();
                return i;
            }
            skipComponent();  // the drive
            return i;
        }
        skipComponent();  // server
        skipComponent();  // share
        return i;
    }
    if (p.size() >= 2 && p[1] == ':' && static_cast<unsigned char>(p[0]) < 0x80) {
        i = 2;
        if (i < p.size() && IsSeparatorChar(p[i], separator)) ++i;
        return i;
    }
    while (i < p.size() && IsSeparatorChar(p[i], separator)) ++i;
    return i;
}

// The characters Windows refuses in a name, besides control characters.
bool IsRefusedAscii(unsigned char c, char separator) {
    if (c < 0x20) return true;
    switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
        return true;
    case '\\':
        return separator != '\\';  // natively a name may hold one; Windows would split there
    default:
        return false;
    }
}

}  // namespace

const char* RefusalReason(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::NameTaken:
        return "the name is taken";
    case Refusal::SameTarget:
        return "two files want the name";
    case Refusal::NameNotAllowed:
        return "Windows does not allow the name";
    case Refusal::WaitsOnRefused:
        return "it waits on a refused file";
    case Refusal::SourceMissing:
        return "the file is missing";
    }
    return "";
}

bool IsNameAllowed(const CodePage& codePage, char separator, std::string_view name) {
    if (name.empty()) return false;
    // The last byte is never inside a double-byte character here: trail
    // bytes are never a dot or a blank.
    if (name.back() == '.' || name.back() == ' ') return false;
    std::size_t units = 0;
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            if (IsRefusedAscii(c, separator)) return false;
            ++i;
            ++units;
            continue;
        }
        const std::size_t n = codePage.CharLength(name, i);
        units += n == 4 ? 2 : 1;  // only four-byte UTF-8 characters need a surrogate pair
        i += n;
    }
    if (units > 255) return false;
    return !IsDeviceName(name);
}

bool IsNewPathAllowed(const CodePage& codePage, char separator, std::string_view oldPath,
                      std::string_view newPath) {
    std::size_t same = 0;
    const std::size_t shorter = std::min(oldPath.size(), newPath.size());
    while (same < shorter && oldPath[same] == newPath[same]) ++same;
    std::size_t i = RootLength(newPath, separator);
    // Where the bytes up to the first difference are all ASCII every
    // separator among them is one (no trail byte of a double-byte character
    // can be), so the walk starts at the component holding the difference.
    if (same > i && mb::AsciiPrefix(newPath.substr(0, same)) == same) {
        for (std::size_t k = same; k > i; --k) {
            if (IsSeparatorChar(newPath[k - 1], separator)) {
                i = k;
                break;
            }
        }
    }
    std::size_t start = i;
    while (true) {
        // Find the end of the component that starts at `start`.
        while (i < newPath.size()) {
            const auto c = static_cast<unsigned char>(newPath[i]);
            if (c < 0x80) {
                if (IsSeparatorChar(static_cast<char>(c), separator)) break;
                ++i;
            } else {
                i += codePage.CharLength(newPath, i);
            }
        }
        // A component that ends before the first difference (its separator
        // included) is a folder both paths share.
        if (i >= same && !IsNameAllowed(codePage, separator, newPath.substr(start, i - start))) return false;
        if (i >= newPath.size()) return true;
        start = ++i;
    }
}

namespace {

// Where the name of a path begins: just after its last separator.
std::size_t NameStart(const CodePage& codePage, char separator, std::string_view path) {
    if (mb::AsciiPrefix(path) == path.size()) {  // the usual case: no separator can hide in a character
        for (std::size_t i = path.size(); i > 0; --i)
            if (IsSeparatorChar(path[i - 1], separator)) return i;
        return 0;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x80) {
            if (IsSeparatorChar(static_cast<char>(c), separator)) start = i + 1;
            ++i;
        } else {
            i += codePage.CharLength(path, i);
        }
    }
    return start;
}

}  // namespace

std::string FolderOfPath(const CodePage& codePage, char separator, const std::string& path) {
    return path.substr(0, NameStart(codePage, separator, path));
}

void PlanInput::Reserve(std::size_t n) {
    kinds.reserve(n);
    from.reserve(n);
    to.reserve(n);
}

void PlanInput::Add(PlanKind kind, const std::string* fromPath, const std::string* toPath) {
    kinds.push_back(kind);
    from.push_back(fromPath);
    to.push_back(toPath);
}

const ParkedEntry* RunPlan::Parked(std::uint32_t entry) const {
    const auto it = std::lower_bound(parked.begin(), parked.end(), entry,
                                     [](const ParkedEntry& p, std::uint32_t e) { return p.entry < e; });
    return it != parked.end() && it->entry == entry ? &*it : nullptr;
}

const std::string& RunPlan::TemporaryName(std::uint32_t entry) const {
    static const std::string none;
    const ParkedEntry* p = Parked(entry);
    return p ? p->temporaryName : none;
}

std::size_t RunPlan::RefusedCount() const {
    return static_cast<std::size_t>(
        std::count_if(refusals.begin(), refusals.end(), [](Refusal r) { return r != Refusal::None; }));
}

namespace {

// An open-addressing index from name keys to entry numbers: a run of
// 100,000 files looks up twice that many names, and a node per name would
// cost more than the lookups.
class KeyIndex {
public:
    // Two slots for three keys: every slot array is memory touched for the
    // first time, and that costs more than the longer probes.
    explicit KeyIndex(std::size_t expected) : size_(expected + expected / 2 + 16) {
        slots_.assign(size_, Slot{0, kNone});
    }
    // The entry stored under key, or kNone. keyOf gives an entry's key.
    template <class KeyOf>
    std::uint32_t Find(std::string_view key, std::size_t hash, const KeyOf& keyOf) const {
        const auto h = static_cast<std::uint32_t>(hash);
        for (std::size_t s = Home(h);; s = Next(s)) {
            const Slot& slot = slots_[s];
            if (slot.entry == kNone) return kNone;
            if (slot.hash == h && keyOf(slot.entry) == key) return slot.entry;
        }
    }
    // Stores entry under key unless the key is there: returns the entry
    // already stored, or kNone when this one was stored.
    template <class KeyOf>
    std::uint32_t Insert(std::string_view key, std::size_t hash, std::uint32_t entry, const KeyOf& keyOf) {
        const auto h = static_cast<std::uint32_t>(hash);
        for (std::size_t s = Home(h);; s = Next(s)) {
            Slot& slot = slots_[s];
            if (slot.entry == kNone) {
                slot = Slot{h, entry};
                return kNone;
            }
            if (slot.hash == h && keyOf(slot.entry) == key) return slot.entry;
        }
    }

private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t entry;
    };
    // The hash scaled to the number of slots (no division).
    std::size_t Home(std::uint32_t h) const {
        return static_cast<std::size_t>((static_cast<std::uint64_t>(h) * size_) >> 32);
    }
    std::size_t Next(std::size_t s) const { return s + 1 == size_ ? 0 : s + 1; }
    std::size_t size_;
    std::vector<Slot> slots_;
};

std::size_t HashKey(std::string_view key) { return std::hash<std::string_view>{}(key); }

// The keys of names as the file system compares them: the paths themselves
// where every byte counts, upper-cased copies where case is ignored (as
// Windows compares names: by their upper-case forms).
class NameKeys {
public:
    NameKeys(const CodePage& codePage, bool ignoreCase) : codePage_(&codePage), ignoreCase_(ignoreCase) {}
    // The key stays valid as long as this object and the path live (a
    // deque never moves what it holds).
    std::string_view Of(const std::string& path) {
        if (!ignoreCase_) return path;
        folded_.push_back(codePage_->Upper(path));
        return folded_.back();
    }
    std::string Folded(const std::string& path) const { return ignoreCase_ ? codePage_->Upper(path) : path; }

private:
    const CodePage* codePage_;
    bool ignoreCase_;
    std::deque<std::string> folded_;
};

constexpr std::size_t kReadAt = 64;  // names asked in one folder from which it is read whole

// The most names a folder may hold to be read for `asked` names of it.
std::size_t ListingLimit(std::size_t asked) { return asked * 16 + 4096; }

// From this many entries a plan reads its big folders ahead.
constexpr std::size_t kListAheadFrom = 1024;

// The names of the folders that hold many targets, read on a second thread
// while the plan checks the names and indexes its entries: a folder of
// 100,000 files takes as long to read as everything else the plan does.
// What is read a moment before it is looked at is as good as what would be
// read then: the plan is a picture of the folder before the run either way
// (a move never overwrites whatever happens in between).
class FolderListings {
public:
    struct Listing {
        std::string folder;
        std::size_t limit = 0;  // more names than this: not read (asking name by name is cheaper)
        bool read = false;
        std::string names;               // one after the other
        std::vector<std::uint32_t> ends;  // where each ends
    };

    void Start(FileSystem& fs, std::vector<Listing> folders) {
        listings_ = std::move(folders);
        if (!reader_.Start([this, &fs] { Read(fs); }))
            listings_.clear();  // no second thread: each folder is read when it is asked about
    }

    // The folder's names, or null when it was not read ahead (not among the
    // folders, unreadable, or holding too many names).
    const Listing* Of(std::string_view folder) {
        reader_.Join();
        for (const Listing& l : listings_)
            if (l.read && l.folder == folder) return &l;
        return nullptr;
    }

private:
    void Read(FileSystem& fs) {
        for (Listing& l : listings_) {
            try {
                std::size_t count = 0;
                const bool read = fs.ListNames(l.folder, [&](std::string_view name) {
                    if (++count > l.limit) return false;
                    l.names.append(name.data(), name.size());
                    l.ends.push_back(static_cast<std::uint32_t>(l.names.size()));
                    return true;
                });
                l.read = read && count <= l.limit && l.names.size() <= std::numeric_limits<std::uint32_t>::max();
            } catch (...) {
                l.read = false;
            }
            if (!l.read) {
                std::string().swap(l.names);
                std::vector<std::uint32_t>().swap(l.ends);
            }
        }
    }

    std::vector<Listing> listings_;
    HelperThread reader_;  // last: it stops before the listings go
};

// Which names are there (taken targets, sources still in place). A folder
// that many of the names are in is read once, the others are asked name by
// name: in a folder of 100,000 files a status call for a name that is not
// there costs several microseconds, ten times the share of one name in
// reading the whole folder.
class NamesOnDisk {
public:
    NamesOnDisk(FileSystem& fs, const CodePage& codePage, FolderListings* ahead = nullptr)
        : fs_(&fs), codePage_(&codePage), ahead_(ahead) {}

    // One answer per path: true when a file or folder holds the name.
    std::vector<char> Ask(const std::vector<const std::string*>& paths) {
        std::vector<char> taken(paths.size(), 0);
        std::vector<std::uint32_t> nameStart(paths.size());
        std::unordered_map<std::string_view, std::vector<std::uint32_t>> byFolder;
        std::string_view lastFolder;
        std::vector<std::uint32_t>* lastGroup = nullptr;
        for (std::size_t k = 0; k < paths.size(); ++k) {
            nameStart[k] = static_cast<std::uint32_t>(NameStart(*codePage_, fs_->Separator(), *paths[k]));
            const std::string_view folder = std::string_view(*paths[k]).substr(0, nameStart[k]);
            if (!lastGroup || folder != lastFolder) {  // most paths share the folder of the one before
                lastGroup = &byFolder[folder];
                lastFolder = folder;
            }
            lastGroup->push_back(static_cast<std::uint32_t>(k));
        }
        const bool folds = fs_->NamesIgnoreCase();
        for (const auto& group : byFolder) {
            const std::vector<std::uint32_t>& members = group.second;
            std::vector<char> listed;
            const bool read = members.size() >= kReadAt && Read(group.first, paths, nameStart, members, listed);
            for (std::size_t m = 0; m < members.size(); ++m) {
                const std::uint32_t k = members[m];
                const std::string& path = *paths[k];
                if (!read || listed[m]) {
                    taken[k] = Status(path);  // not read, or listed: make sure
                } else if (folds && path.find('~', nameStart[k]) != std::string::npos) {
                    taken[k] = Status(path);  // Windows also knows files by short 8.3 names ("PROGRA~1")
                }
            }
        }
        return taken;
    }

private:
    bool Status(const std::string& path) {
        FileStatus status;
        return fs_->GetStatus(path, status);
    }

    // Reads the folder and tells which of the names asked in it (members,
    // indexes into paths) it lists; false when it cannot be read, or when it
    // holds so many more names than are asked that asking is cheaper. The
    // asked names are indexed, not the listed ones: nothing of the listing
    // is kept.
    bool Read(std::string_view folder, const std::vector<const std::string*>& paths,
              const std::vector<std::uint32_t>& nameStart, const std::vector<std::uint32_t>& members,
              std::vector<char>& listed) {
        const bool folds = fs_->NamesIgnoreCase();
        // Where names ignore letter case the keys are upper-cased copies, one
        // after the other; else the names within their paths.
        std::string folded;
        std::vector<std::uint32_t> starts;
        if (folds) {
            starts.reserve(members.size() + 1);
            starts.push_back(0);
            for (std::uint32_t k : members) {
                const std::string& path = *paths[k];
                folded.append(path, nameStart[k], std::string::npos);
                if (folded.size() > starts.back())  // each name on its own, as a lone name is upper-cased
                    codePage_->ToUpper(&folded[starts.back()], folded.size() - starts.back());
                starts.push_back(static_cast<std::uint32_t>(folded.size()));
            }
        }
        auto keyOf = [&](std::uint32_t m) -> std::string_view {
            if (folds) return std::string_view(folded).substr(starts[m], starts[m + 1] - starts[m]);
            return std::string_view(*paths[members[m]]).substr(nameStart[members[m]]);
        };
        KeyIndex index(members.size());
        std::vector<std::pair<std::uint32_t, std::uint32_t>> repeated;  // a name asked twice: (m, its first)
        for (std::uint32_t m = 0; m < members.size(); ++m) {
            const std::string_view key = keyOf(m);
            const std::uint32_t first = index.Insert(key, HashKey(key), m, keyOf);
            if (first != kNone) repeated.emplace_back(m, first);
        }
        listed.assign(members.size(), 0);
        const std::size_t limit = ListingLimit(members.size());
        std::size_t count = 0;
        std::string name;  // a listed name upper-cased, where names ignore case
        auto visit = [&](std::string_view listedName) {
            if (++count > limit) return false;
            std::string_view key = listedName;
            if (folds) {
                name.assign(listedName.data(), listedName.size());
                if (!name.empty()) codePage_->ToUpper(&name[0], name.size());
                key = name;
            }
            const std::uint32_t m = index.Find(key, HashKey(key), keyOf);
            if (m != kNone) listed[m] = 1;
            return true;
        };
        bool read = true;
        if (const FolderListings::Listing* ahead = ahead_ ? ahead_->Of(folder) : nullptr) {
            std::uint32_t start = 0;
            for (std::uint32_t end : ahead->ends) {
                if (!visit(std::string_view(ahead->names).substr(start, end - start))) break;
                start = end;
            }
        } else {
            read = fs_->ListNames(std::string(folder), visit);
        }
        if (!read || count > limit) return false;
        for (const auto& r : repeated) listed[r.first] = listed[r.second];
        return true;
    }

    FileSystem* fs_;
    const CodePage* codePage_;
    FolderListings* ahead_;
};

}  // namespace

namespace {

// The making of one plan, a step per method.
class Planner {
public:
    Planner(FileSystem& fs, const CodePage& codePage, const PlanInput& input)
        : fs_(fs), codePage_(codePage), in_(input), n_(input.size()), folds_(fs.NamesIgnoreCase()),
          keys_(codePage, folds_), sourceKey_(folds_ ? n_ : 0), targetKey_(folds_ ? n_ : 0), targetHash_(n_),
          waitsOn_(n_, kNone), waiter_(n_, kNone) {
        plan_.refusals.assign(n_, Refusal::None);
    }

    RunPlan Make() {
        if (in_.checkTaken && n_ >= kListAheadFrom && fs_.TakesCallsFromSeveralThreads())
            listings_.Start(fs_, FoldersOfManyTargets());
        if (in_.checkNames) RefuseNames();
        IndexSources();
        ClaimTargets();
        FindWaits();
        RefuseWaitingWithoutFile();
        WalkChains();
        Order();
        return std::move(plan_);
    }

private:
    bool HasTarget(std::size_t i) const { return in_.kinds[i] != PlanKind::Skip && in_.to[i] != nullptr; }
    Refusal& RefusalOf(std::size_t i) { return plan_.refusals[i]; }
    // Where every byte counts the paths are their own keys: nothing is kept
    // for them (for 100,000 entries that spares megabytes touched once).
    std::string_view SourceKey(std::size_t e) const { return folds_ ? sourceKey_[e] : *in_.from[e]; }
    std::string_view TargetKey(std::size_t e) const { return folds_ ? targetKey_[e] : *in_.to[e]; }

    // The folders read whole when the targets are asked about, with as
    // many names as they may hold for that: those of kReadAt targets or
    // more (counted before any is refused: some may be read in vain).
    std::vector<FolderListings::Listing> FoldersOfManyTargets() const {
        std::vector<FolderListings::Listing> folders;
        std::unordered_map<std::string_view, std::size_t> counts;
        std::string_view lastFolder;
        std::size_t* lastCount = nullptr;
        for (std::size_t i = 0; i < n_; ++i) {
            if (!HasTarget(i)) continue;
            const std::string& to = *in_.to[i];
            const std::string_view folder = std::string_view(to).substr(0, NameStart(codePage_, fs_.Separator(), to));
            if (!lastCount || folder != lastFolder) {  // most targets share the folder of the one before
                lastCount = &counts[folder];
                lastFolder = folder;
            }
            ++*lastCount;
        }
        for (const auto& c : counts) {
            if (c.second < kReadAt) continue;
            FolderListings::Listing l;
            l.folder.assign(c.first.data(), c.first.size());
            l.limit = ListingLimit(c.second);
            folders.push_back(std::move(l));
        }
        return folders;
    }

    // Names Windows would refuse or alter.
    void RefuseNames() {
        for (std::size_t i = 0; i < n_; ++i)
            if (HasTarget(i) && !IsNewPathAllowed(codePage_, fs_.Separator(), *in_.from[i], *in_.to[i]))
                RefusalOf(i) = Refusal::NameNotAllowed;
    }

    // The sources that leave: the first entry of each source name owns it.
    void IndexSources() {
        std::size_t moving = 0;
        for (std::size_t i = 0; i < n_; ++i) moving += in_.kinds[i] == PlanKind::Move;
        owners_ = KeyIndex(moving);
        auto sourceOf = [this](std::uint32_t e) { return SourceKey(e); };
        for (std::size_t i = 0; i < n_; ++i) {
            if (in_.kinds[i] != PlanKind::Move) continue;
            if (folds_) sourceKey_[i] = keys_.Of(*in_.from[i]);
            const std::string_view key = SourceKey(i);
            owners_.Insert(key, HashKey(key), static_cast<std::uint32_t>(i), sourceOf);
        }
    }

    // One target, one entry: the first in list order keeps it.
    void ClaimTargets() {
        std::size_t targets = 0;
        for (std::size_t i = 0; i < n_; ++i) targets += HasTarget(i);
        claimed_ = KeyIndex(targets);
        auto targetOf = [this](std::uint32_t e) { return TargetKey(e); };
        for (std::size_t i = 0; i < n_; ++i) {
            if (!HasTarget(i) || RefusalOf(i) != Refusal::None) continue;
            if (folds_) targetKey_[i] = keys_.Of(*in_.to[i]);
            const std::string_view key = TargetKey(i);
            targetHash_[i] = static_cast<std::uint32_t>(HashKey(key));
            if (claimed_.Insert(key, targetHash_[i], static_cast<std::uint32_t>(i), targetOf) != kNone)
                RefusalOf(i) = Refusal::SameTarget;
        }
    }

    // Each target is free, held by a file that stays, or held by another
    // entry's source (then the entry waits for that one to leave). Targets
    // are unique, so each entry is waited on by one entry at most: the
    // waits form chains and cycles.
    void FindWaits() {
        auto sourceOf = [this](std::uint32_t e) { return SourceKey(e); };
        std::vector<std::uint32_t> toAsk;  // targets no entry of the run holds
        for (std::size_t i = 0; i < n_; ++i) {
            if (!HasTarget(i) || RefusalOf(i) != Refusal::None) continue;
            const std::uint32_t owner = owners_.Find(TargetKey(i), targetHash_[i], sourceOf);
            if (owner == static_cast<std::uint32_t>(i)) continue;  // its own name in another letter case
            if (owner != kNone) {
                waitsOn_[i] = owner;
                waiter_[owner] = static_cast<std::uint32_t>(i);
            } else if (in_.checkTaken) {
                toAsk.push_back(static_cast<std::uint32_t>(i));
            }
        }
        std::vector<const std::string*> paths;
        paths.reserve(toAsk.size());
        for (std::uint32_t i : toAsk) paths.push_back(in_.to[i]);
        const std::vector<char> taken = NamesOnDisk(fs_, codePage_, &listings_).Ask(paths);
        for (std::size_t k = 0; k < toAsk.size(); ++k)
            if (taken[k]) RefusalOf(toAsk[k]) = Refusal::NameTaken;
    }

    // An entry that waits must have its file: its step, never made, would
    // otherwise look made when the run is taken back (its source gone, its
    // target there). Its target is then no concern of the entry waiting on it.
    void RefuseWaitingWithoutFile() {
        std::vector<std::uint32_t> waiting;
        std::vector<const std::string*> paths;
        for (std::size_t i = 0; i < n_; ++i) {
            if (waitsOn_[i] == kNone) continue;
            waiting.push_back(static_cast<std::uint32_t>(i));
            paths.push_back(in_.from[i]);
        }
        const std::vector<char> there = NamesOnDisk(fs_, codePage_).Ask(paths);
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            if (there[k]) continue;
            const std::uint32_t i = waiting[k];
            RefusalOf(i) = Refusal::SourceMissing;
            waiter_[waitsOn_[i]] = kNone;
            waitsOn_[i] = kNone;
        }
    }

    // Walks every chain from its last link (the entry that waits on nobody):
    // when that one is refused, its file stays, and so does every file
    // waiting on it. What no walk reaches lies on a cycle.
    void WalkChains() {
        onChain_.assign(n_, 0);
        // Whether the file in the next one's way stays where it is.
        auto stays = [this](std::uint32_t e) {
            return RefusalOf(e) != Refusal::None && RefusalOf(e) != Refusal::SourceMissing;
        };
        for (std::size_t t = 0; t < n_; ++t) {
            if (in_.kinds[t] == PlanKind::Skip || waitsOn_[t] != kNone) continue;
            onChain_[t] = 1;
            bool blocked = stays(static_cast<std::uint32_t>(t));
            for (std::uint32_t w = waiter_[t]; w != kNone; w = waiter_[w]) {
                onChain_[w] = 1;
                if (blocked && RefusalOf(w) == Refusal::None) RefusalOf(w) = Refusal::WaitsOnRefused;
                blocked = stays(w);
            }
        }
    }

    // The order: in list order, each entry with the chain it belongs to
    // (from its last link up), each cycle through a temporary name.
    void Order() {
        done_.assign(n_, 0);
        std::size_t moving = 0;  // a step each, and one more for each cycle
        for (std::size_t i = 0; i < n_; ++i) moving += in_.kinds[i] != PlanKind::Skip && RefusalOf(i) == Refusal::None;
        plan_.steps.reserve(moving);
        for (std::size_t i = 0; i < n_; ++i) {
            if (done_[i] || in_.kinds[i] == PlanKind::Skip || RefusalOf(i) != Refusal::None) continue;
            if (onChain_[i])
                OrderChain(static_cast<std::uint32_t>(i));
            else
                OrderCycle(static_cast<std::uint32_t>(i));
        }
        // Entries are parked in list order: the parked entries are sorted.
    }

    void OrderChain(std::uint32_t member) {
        std::uint32_t last = member;
        while (waitsOn_[last] != kNone) last = waitsOn_[last];
        for (std::uint32_t e = last; e != kNone; e = waiter_[e]) {
            if (done_[e] || RefusalOf(e) != Refusal::None) continue;
            done_[e] = 1;
            plan_.steps.push_back(PlanStep{e, in_.kinds[e] == PlanKind::Convert ? PlanStep::Kind::Convert
                                                                                 : PlanStep::Kind::Direct});
        }
    }

    // Parks the first entry under a name that exists nowhere, lets the others
    // follow one after the other, then brings it to its target.
    void OrderCycle(std::uint32_t first) {
        const std::string& from = *in_.from[first];
        FileStatus status;
        fs_.GetStatus(from, status);  // there: it was asked for with the waiting entries
        plan_.parked.push_back(
            ParkedEntry{first, TemporaryNameIn(FolderOfPath(codePage_, fs_.Separator(), from)), status.size,
                        status.times.modified, fs_.FileId(from)});
        plan_.steps.push_back(PlanStep{first, PlanStep::Kind::Park});
        done_[first] = 1;
        for (std::uint32_t e = waiter_[first]; e != first; e = waiter_[e]) {
            done_[e] = 1;
            plan_.steps.push_back(PlanStep{e, PlanStep::Kind::Direct});
        }
        plan_.steps.push_back(PlanStep{first, PlanStep::Kind::Unpark});
    }

    // A name in the folder that is no file there and no entry's source or target.
    std::string TemporaryNameIn(const std::string& folder) {
        auto sourceOf = [this](std::uint32_t e) { return SourceKey(e); };
        auto targetOf = [this](std::uint32_t e) { return TargetKey(e); };
        while (true) {
            std::string name = folder + "~quorv" + std::to_string(nextTemporary_++) + ".tmp";
            const std::string key = keys_.Folded(name);
            const std::size_t hash = HashKey(key);
            if (owners_.Find(key, hash, sourceOf) != kNone || claimed_.Find(key, hash, targetOf) != kNone) continue;
            FileStatus status;
            if (!fs_.GetStatus(name, status)) return name;
        }
    }

    FileSystem& fs_;
    const CodePage& codePage_;
    const PlanInput& in_;
    const std::size_t n_;
    const bool folds_;  // names compared by their upper-case forms
    RunPlan plan_;
    NameKeys keys_;
    std::vector<std::string_view> sourceKey_, targetKey_;
    std::vector<std::uint32_t> targetHash_;  // the hashes as the indexes keep them
    KeyIndex owners_{0}, claimed_{0};
    std::vector<std::uint32_t> waitsOn_, waiter_;
    std::vector<char> onChain_, done_;
    std::uint64_t nextTemporary_ = 1;
    FolderListings listings_;  // last: its reader stops before anything it reads from goes
};

}  // namespace

RunPlan PlanRun(FileSystem& fs, const CodePage& codePage, const PlanInput& input) {
    return Planner(fs, codePage, input).Make();
}

std::pair<const std::string*, const std::string*> StepPaths(const RunPlan& plan, const PlanInput& input,
                                                            const PlanStep& step) {
    switch (step.kind) {
    case PlanStep::Kind::Direct:
        return {input.from[step.entry], input.to[step.entry]};
    case PlanStep::Kind::Park:
        return {input.from[step.entry], &plan.TemporaryName(step.entry)};
    case PlanStep::Kind::Unpark:
        return {&plan.TemporaryName(step.entry), input.to[step.entry]};
    case PlanStep::Kind::Convert:
        break;
    }
    return {nullptr, nullptr};
}

namespace {

constexpr std::uint32_t kSettableAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

// The attributes of one file, taken before Undo sets them to normal.
struct SavedAttributes {
    FileStatus status;
    bool changed = false;
};

// Sets the file's attributes to normal with its times written back; false
// when its status cannot be read or the attributes cannot be set. A file
// that already has none of the settable attributes is left as it is: the
// times written back would be the ones it has.
bool ResetAttributes(FileSystem& fs, const std::string& path, SavedAttributes& saved,
                     const FileStatus* readAhead = nullptr) {
    if (readAhead)
        saved.status = *readAhead;
    else if (!fs.GetStatus(path, saved.status))
        return false;
    if ((saved.status.attributes & kSettableAttributes) == 0) return true;
    if (!fs.SetAttributes(path, kAttrNormal, &saved.status.times)) return false;
    saved.changed = true;
    return true;
}

void GiveAttributesBack(FileSystem& fs, const std::string& path, const SavedAttributes& saved) {
    if (!saved.changed) return;
    const std::uint32_t previous = saved.status.attributes & kSettableAttributes;
    fs.SetAttributes(path, previous == 0 ? kAttrNormal : previous, &saved.status.times);
}

// The status of the file of each step that sets attributes, read on a
// second thread ahead of the moves: one after the other, the reads would
// add a quarter to the time of the moves; beside them, next to nothing.
// A step's file is not touched by the steps before it (a file moves onto
// a name only once the file holding it has left), so what is read ahead
// is what would be read just before the move. A step the reader has not
// reached, or whose file it could not read, is read by the mover itself.
class StatusAhead {
public:
    StatusAhead(FileSystem& fs, const RunPlan& plan, const PlanInput& input)
        : fs_(fs), plan_(plan), input_(input), statuses_(plan.steps.size()),
          states_(new std::atomic<std::uint8_t>[plan.steps.size()]()) {
        reader_.Start([this] { Read(); });  // without it every status is read just before its move
    }
    ~StatusAhead() {
        stop_.store(true);
        reader_.Join();
    }
    StatusAhead(const StatusAhead&) = delete;
    StatusAhead& operator=(const StatusAhead&) = delete;

    // The status read ahead for step k, or null when the mover reads it.
    const FileStatus* Take(std::size_t k) {
        reached_.store(k + 1, std::memory_order_relaxed);
        std::uint8_t state = kWaiting;
        if (states_[k].compare_exchange_strong(state, kTaken, std::memory_order_acquire)) return nullptr;
        return state == kRead ? &statuses_[k] : nullptr;
    }

private:
    static constexpr std::uint8_t kWaiting = 0, kRead = 1, kTaken = 2;

    void Read() {
        try {
            for (std::size_t k = 0; k < plan_.steps.size() && !stop_.load(std::memory_order_relaxed); ++k) {
                k = std::max(k, reached_.load(std::memory_order_relaxed));  // never behind the mover
                if (k >= plan_.steps.size()) break;
                const PlanStep& step = plan_.steps[k];
                if (step.kind != PlanStep::Kind::Direct && step.kind != PlanStep::Kind::Park) continue;
                FileStatus status;
                if (!fs_.GetStatus(*input_.from[step.entry], status)) continue;
                statuses_[k] = status;  // the mover looks at it only once it is marked read
                std::uint8_t state = kWaiting;
                states_[k].compare_exchange_strong(state, kRead, std::memory_order_release);
            }
        } catch (...) {
            // the mover reads what is left
        }
    }

    FileSystem& fs_;
    const RunPlan& plan_;
    const PlanInput& input_;
    std::vector<FileStatus> statuses_;
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
    std::atomic<std::size_t> reached_{0};
    std::atomic<bool> stop_{false};
    HelperThread reader_;
};

// From this many steps Undo reads statuses ahead.
constexpr std::size_t kReadAheadFrom = 256;

}  // namespace

bool MoveWithNormalAttributes(FileSystem& fs, const std::string& from, const std::string& to) {
    SavedAttributes saved;
    if (!ResetAttributes(fs, from, saved)) return false;
    if (fs.Move(from, to)) return true;
    GiveAttributesBack(fs, from, saved);
    return false;
}

std::vector<StepOutcome> CarryOut(FileSystem& fs, const RunPlan& plan, const PlanInput& input,
                                  const CarryOutOptions& options) {
    std::vector<StepOutcome> outcome(input.size(), StepOutcome::NotRun);
    std::vector<std::pair<std::uint32_t, SavedAttributes>> parkedAttributes;
    std::unique_ptr<StatusAhead> ahead;
    if (options.resetAttributes && plan.steps.size() >= kReadAheadFrom && fs.TakesCallsFromSeveralThreads())
        ahead = std::make_unique<StatusAhead>(fs, plan, input);
    auto readAhead = [&](std::size_t k) { return ahead ? ahead->Take(k) : nullptr; };
    std::size_t finished = 0;
    auto finish = [&](std::uint32_t entry, StepOutcome result) {
        outcome[entry] = result;
        if (options.step) options.step(finished);
        ++finished;
    };
    // One move, believed as the options say: a move that reports success
    // has left the old name (it is one rename), so the new name is what can
    // still be wrong (a file system that changed it on the way).
    auto move = [&](const std::string& from, const std::string& to) -> StepOutcome {
        if (!fs.Move(from, to)) return StepOutcome::Failed;
        if (options.verify && fs.NamesIgnoreCase() && !fs.Exists(to)) return StepOutcome::Unseen;
        return StepOutcome::Done;
    };

    for (std::size_t k = 0; k < plan.steps.size(); ++k) {
        const PlanStep& step = plan.steps[k];
        const std::uint32_t e = step.entry;
        switch (step.kind) {
        case PlanStep::Kind::Convert:
            finish(e, options.convert && options.convert(e) ? StepOutcome::Converted : StepOutcome::Failed);
            break;
        case PlanStep::Kind::Direct: {
            const std::string& from = *input.from[e];
            SavedAttributes saved;
            if (options.resetAttributes && !ResetAttributes(fs, from, saved, readAhead(k))) {
                finish(e, StepOutcome::Failed);
                break;
            }
            const StepOutcome result = move(from, *input.to[e]);
            if (result == StepOutcome::Failed) GiveAttributesBack(fs, from, saved);
            finish(e, result);
            break;
        }
        case PlanStep::Kind::Park: {
            const std::string& from = *input.from[e];
            SavedAttributes saved;
            if (options.resetAttributes && !ResetAttributes(fs, from, saved, readAhead(k))) {
                outcome[e] = StepOutcome::Failed;
                break;
            }
            if (!fs.Move(from, plan.TemporaryName(e))) {
                GiveAttributesBack(fs, from, saved);
                outcome[e] = StepOutcome::Failed;
                break;
            }
            outcome[e] = StepOutcome::Parked;
            if (saved.changed) parkedAttributes.emplace_back(e, saved);
            break;
        }
        case PlanStep::Kind::Unpark: {
            if (outcome[e] != StepOutcome::Parked) {  // the park failed: the file never left
                finish(e, StepOutcome::Failed);
                break;
            }
            const std::string& temporary = plan.TemporaryName(e);
            StepOutcome result = move(temporary, *input.to[e]);
            if (result == StepOutcome::Failed) {
                // The target is still taken (a move of the cycle failed):
                // back to the old name when it is free, else it stays parked.
                result = fs.Move(temporary, *input.from[e]) ? StepOutcome::Failed : StepOutcome::Parked;
                if (result == StepOutcome::Failed) {
                    for (const auto& p : parkedAttributes)
                        if (p.first == e) GiveAttributesBack(fs, *input.from[e], p.second);
                }
            }
            finish(e, result);
            break;
        }
        }
    }
    return outcome;
}

}  // namespace quorv
