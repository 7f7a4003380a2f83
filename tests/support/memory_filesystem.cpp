#include "tests/support/memory_filesystem.h"

#include <algorithm>

namespace quorv::test {
namespace {

std::string FoldAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem(char separator) : sep_(separator), ignoreCase_(separator == '\\') {}

MemoryFileSystem::MemoryFileSystem(char separator, bool namesIgnoreCase)
    : sep_(separator), ignoreCase_(namesIgnoreCase) {}

std::string MemoryFileSystem::Normal(const std::string& path) const {
    std::string p = path;
    while (p.size() > 1 && p.back() == sep_) p.pop_back();
    return p;
}

std::string MemoryFileSystem::Key(const std::string& path) const {
    std::string n = Normal(path);
    return ignoreCase_ ? FoldAscii(n) : n;
}

std::string MemoryFileSystem::ParentKey(const std::string& key) const {
    const auto pos = key.rfind(sep_);
    return pos == std::string::npos ? std::string() : key.substr(0, pos);
}

MemoryFileSystem::Item* MemoryFileSystem::Find(const std::string& path) {
    auto it = items_.find(Key(path));
    return it == items_.end() ? nullptr : &it->second;
}

const MemoryFileSystem::Item* MemoryFileSystem::Find(const std::string& path) const {
    auto it = items_.find(Key(path));
    return it == items_.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::FolderExists(const std::string& key) const {
    if (IsRoot(key)) return true;
    auto it = items_.find(key);
    return it != items_.end() && it->second.folder;
}

void MemoryFileSystem::MakeParents(const std::string& path) {
    const std::string n = Normal(path);
    const auto pos = n.rfind(sep_);
    if (pos == std::string::npos) return;
    const std::string parent = n.substr(0, pos);
    if (parent.find(sep_) == std::string::npos) return;  // a root
    if (FolderExists(Key(parent))) return;
    AddFolder(parent);
}

void MemoryFileSystem::AddFolder(const std::string& path) {
    const std::string key = Key(path);
    if (IsRoot(key) || FolderExists(key)) return;
    MakeParents(path);
    Item item;
    item.path = Normal(path);
    item.folder = true;
    item.attributes = kAttrDirectory;
    item.times = FileTimes{now_, now_, now_};
    item.order = nextOrder_++;
    items_[key] = std::move(item);
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes,
                               const FileTimes& times) {
    MakeParents(path);
    const std::string key = Key(path);
    Item item;
    item.path = Normal(path);
    item.bytes = bytes;
    item.attributes = attributes == 0 ? kAttrNormal : (attributes & ~static_cast<std::uint32_t>(kAttrDirectory));
    item.times = times;
    auto it = items_.find(key);
    item.order = it != items_.end() ? it->second.order : nextOrder_++;
    item.id = nextId_++;
    items_[key] = std::move(item);
}

bool MemoryFileSystem::Remove(const std::string& path) {
    const std::string key = Key(path);
    auto it = items_.find(key);
    if (it == items_.end()) return false;
    if (it->second.folder) {
        const std::string prefix = key + sep_;
        for (auto i = items_.begin(); i != items_.end();) {
            if (i->first.compare(0, prefix.size(), prefix) == 0)
                i = items_.erase(i);
            else
                ++i;
        }
    }
    items_.erase(key);
    return true;
}

bool MemoryFileSystem::HasFile(const std::string& path) const {
    const Item* i = Find(path);
    return i && !i->folder;
}

bool MemoryFileSystem::HasFolder(const std::string& path) const { return FolderExists(Key(path)); }

std::string MemoryFileSystem::Contents(const std::string& path) const {
    const Item* i = Find(path);
    return i && !i->folder ? i->bytes : std::string();
}

std::uint32_t MemoryFileSystem::AttributesOf(const std::string& path) const {
    const Item* i = Find(path);
    return i ? i->attributes : 0;
}

FileTimes MemoryFileSystem::TimesOf(const std::string& path) const {
    const Item* i = Find(path);
    return i ? i->times : FileTimes{};
}

std::string MemoryFileSystem::StoredPath(const std::string& path) const {
    const Item* i = Find(path);
    return i ? i->path : std::string();
}

std::map<std::string, std::string> MemoryFileSystem::Files() const {
    std::map<std::string, std::string> out;
    for (const auto& kv : items_)
        if (!kv.second.folder) out[kv.second.path] = kv.second.bytes;
    return out;
}

std::size_t MemoryFileSystem::FileCount() const {
    std::size_t n = 0;
    for (const auto& kv : items_)
        if (!kv.second.folder) ++n;
    return n;
}

int MemoryFileSystem::Calls(Op op) const {
    if (op == Op::Any) {
        int total = 0;
        for (const auto& kv : calls_) total += kv.second;
        return total;
    }
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

void MemoryFileSystem::FailOn(Op op, const std::string& path, int times, IoResult error) {
    if (times == 0) return;
    failures_.push_back(Failure{op, Key(path), times, error});
}

void MemoryFileSystem::FailNext(Op op, int count, IoResult error) {
    if (count <= 0) return;
    failures_.push_back(Failure{op, std::string(), count, error});
}

void MemoryFileSystem::Lock(const std::string& path) { locked_.push_back(Key(path)); }

void MemoryFileSystem::Unlock(const std::string& path) {
    const std::string key = Key(path);
    locked_.erase(std::remove(locked_.begin(), locked_.end(), key), locked_.end());
}

void MemoryFileSystem::ClearFailures() {
    failures_.clear();
    locked_.clear();
    freeSpace_ = -1;
    hook_ = nullptr;
    stopAfter_ = -1;
}

bool MemoryFileSystem::Locked(const std::string& path) const {
    const std::string key = Key(path);
    return std::find(locked_.begin(), locked_.end(), key) != locked_.end();
}

bool MemoryFileSystem::TakeSpace(std::int64_t bytes) {
    if (freeSpace_ < 0) return true;
    if (bytes > freeSpace_) return false;
    freeSpace_ -= bytes;
    return true;
}

bool MemoryFileSystem::Enter(Op op, const std::string& path, const std::string& second, IoResult* error) {
    if (stopAfter_ >= 0 && (stopOp_ == Op::Any || stopOp_ == op)) {
        if (stopAfter_ == 0) {
            stopAfter_ = -1;
            throw Crash{};
        }
        --stopAfter_;
    }
    ++calls_[op];
    if (hook_) {
        auto hook = hook_;  // the hook may replace itself
        hook(op, path);
    }
    const std::string k1 = Key(path);
    const std::string k2 = second.empty() ? std::string() : Key(second);
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        Failure& f = *it;
        if (f.op != Op::Any && f.op != op) continue;
        if (!f.key.empty() && f.key != k1 && (k2.empty() || f.key != k2)) continue;
        if (error) *error = f.error;
        if (f.times > 0 && --f.times == 0) failures_.erase(it);
        return true;
    }
    return false;
}

bool MemoryFileSystem::FindEntries(const std::string& pattern,
                                   const std::function<bool(const DirEntry&)>& visit) {
    if (Enter(Op::Find, pattern, std::string(), nullptr)) return false;
    const auto pos = pattern.rfind(sep_);
    if (pos == std::string::npos) return false;
    const std::string folder = pattern.substr(0, pos);
    const std::string wild = pattern.substr(pos + 1);
    if (wild.empty()) return false;
    const std::string folderKey = Key(folder);
    if (!HasWildcard(wild)) {
        const Item* item = Find(pattern);
        if (!item) return false;
        DirEntry e;
        e.name = item->path.substr(item->path.rfind(sep_) + 1);
        e.attributes = item->attributes;
        visit(e);
        return true;
    }
    if (!FolderExists(folderKey)) return false;
    std::vector<const Item*> children;
    for (const auto& kv : items_)
        if (ParentKey(kv.first) == folderKey) children.push_back(&kv.second);
    std::sort(children.begin(), children.end(),
              [](const Item* a, const Item* b) { return a->order < b->order; });
    if (reportDots_ && !IsRoot(folderKey)) {
        for (const char* dots : {".", ".."}) {
            if (!MatchesWildcard(wild, dots)) continue;
            DirEntry e;
            e.name = dots;
            e.attributes = kAttrDirectory;
            if (!visit(e)) return true;
        }
    }
    // Copy the names first: the visitor may change the file system.
    std::vector<DirEntry> entries;
    for (const Item* item : children) {
        DirEntry e;
        e.name = item->path.substr(item->path.rfind(sep_) + 1);
        e.attributes = item->attributes;
        if (MatchesWildcard(wild, e.name)) entries.push_back(std::move(e));
    }
    for (const DirEntry& e : entries)
        if (!visit(e)) break;
    return true;
}

bool MemoryFileSystem::Exists(const std::string& path) {
    if (Enter(Op::Exists, path, std::string(), nullptr)) return false;
    if (path.empty() || HasWildcard(path)) return false;
    if (path.back() == sep_) return false;
    const Item* item = Find(path);
    if (!item) return false;
    const std::string asked = path.substr(path.rfind(sep_) == std::string::npos ? 0 : path.rfind(sep_) + 1);
    const std::string stored = item->path.substr(item->path.rfind(sep_) + 1);
    return asked == stored;
}

bool MemoryFileSystem::GetStatus(const std::string& path, FileStatus& out) {
    if (Enter(Op::GetStatus, path, std::string(), nullptr)) return false;
    const Item* item = Find(path);
    if (!item) {
        // A root always exists as a folder, as a drive's root does.
        if (path.empty() || !IsRoot(Key(path))) return false;
        out = FileStatus{};
        out.attributes = kAttrDirectory;
        return true;
    }
    out = FileStatus{};
    out.attributes = item->attributes;
    out.times = item->times;
    out.size = item->folder ? 0 : item->bytes.size();
    return true;
}

std::uint64_t MemoryFileSystem::FileId(const std::string& path) {
    if (Enter(Op::GetStatus, path, std::string(), nullptr)) return 0;
    const Item* item = Find(path);
    return item ? item->id : 0;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes,
                                     const FileTimes* times) {
    if (Enter(Op::SetAttributes, path, std::string(), nullptr)) return false;
    Item* item = Find(path);
    if (!item) return false;
    // Only the settable bits change; the folder bit stays what the item is.
    const std::uint32_t settable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
    std::uint32_t a = (item->attributes & ~settable & ~static_cast<std::uint32_t>(kAttrNormal)) | (attributes & settable);
    if (a == 0) a = kAttrNormal;
    item->attributes = a;
    if (times) item->times = *times;
    return true;
}

bool MemoryFileSystem::Move(const std::string& from, const std::string& to) {
    if (Enter(Op::Move, from, to, nullptr)) return false;
    if (from.empty() || to.empty()) return false;
    if (Locked(from) || Locked(to)) return false;
    const std::string fromKey = Key(from);
    const std::string toKey = Key(to);
    auto it = items_.find(fromKey);
    if (it == items_.end() || IsRoot(fromKey)) return false;
    if (fromKey != toKey && items_.count(toKey)) return false;  // the target exists
    if (IsRoot(toKey) || !FolderExists(ParentKey(toKey))) return false;
    if (it->second.folder && toKey.compare(0, fromKey.size() + 1, fromKey + sep_) == 0) return false;  // into itself
    Item item = std::move(it->second);
    items_.erase(it);
    if (item.folder) {
        const std::string prefix = fromKey + sep_;
        std::vector<std::pair<std::string, Item>> moved;
        for (auto i = items_.begin(); i != items_.end();) {
            if (i->first.compare(0, prefix.size(), prefix) == 0) {
                Item child = std::move(i->second);
                child.path = Normal(to) + child.path.substr(Normal(from).size());
                moved.emplace_back(toKey + i->first.substr(fromKey.size()), std::move(child));
                i = items_.erase(i);
            } else {
                ++i;
            }
        }
        for (auto& m : moved) items_[m.first] = std::move(m.second);
    }
    item.path = Normal(to);
    if (fromKey != toKey) item.order = nextOrder_++;
    items_[toKey] = std::move(item);
    return true;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to, bool overwrite) {
    if (Enter(Op::Copy, from, to, nullptr)) return false;
    if (Locked(from) || Locked(to)) return false;
    const Item* src = Find(from);
    if (!src || src->folder) return false;
    const std::string toKey = Key(to);
    if (IsRoot(toKey) || !FolderExists(ParentKey(toKey))) return false;
    Item* dst = Find(to);
    if (dst && (!overwrite || dst->folder || (dst->attributes & kAttrReadOnly))) return false;
    if (Key(from) == toKey) return false;
    if (!TakeSpace(static_cast<std::int64_t>(src->bytes.size()))) return false;
    Item copy = *src;
    copy.path = Normal(to);
    copy.times.created = now_;
    copy.times.accessed = now_;
    copy.order = dst ? dst->order : nextOrder_++;
    copy.attributes |= kAttrArchive;
    copy.attributes &= ~static_cast<std::uint32_t>(kAttrNormal);
    copy.id = nextId_++;
    items_[toKey] = std::move(copy);
    return true;
}

bool MemoryFileSystem::Delete(const std::string& path) {
    if (Enter(Op::Delete, path, std::string(), nullptr)) return false;
    if (Locked(path)) return false;
    const std::string key = Key(path);
    auto it = items_.find(key);
    if (it == items_.end() || it->second.folder) return false;
    if (it->second.attributes & kAttrReadOnly) return false;
    items_.erase(it);
    return true;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
    if (Enter(Op::CreateFolder, path, std::string(), nullptr)) return false;
    const std::string key = Key(path);
    if (path.empty() || IsRoot(key) || items_.count(key)) return false;
    if (!FolderExists(ParentKey(key))) return false;
    Item item;
    item.path = Normal(path);
    item.folder = true;
    item.attributes = kAttrDirectory;
    item.times = FileTimes{now_, now_, now_};
    item.order = nextOrder_++;
    items_[key] = std::move(item);
    return true;
}

IoResult MemoryFileSystem::ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    IoResult error = IoResult::Failed;
    if (Enter(Op::Read, path, std::string(), &error)) return error;
    if (Locked(path)) return IoResult::AccessDenied;
    const Item* item = Find(path);
    if (!item) return IoResult::NotFound;
    if (item->folder) return IoResult::AccessDenied;
    bytes = item->bytes;
    return IoResult::Ok;
}

IoResult MemoryFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    return PutBytes(Op::Write, path, bytes);
}

IoResult MemoryFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    return PutBytes(Op::Append, path, bytes);
}

IoResult MemoryFileSystem::PutBytes(Op op, const std::string& path, const std::string& bytes) {
    IoResult error = IoResult::Failed;
    if (Enter(op, path, std::string(), &error)) return error;
    if (Locked(path)) return IoResult::AccessDenied;
    const std::string key = Key(path);
    if (path.empty() || IsRoot(key)) return IoResult::NotFound;
    if (!FolderExists(ParentKey(key))) return IoResult::NotFound;
    Item* item = Find(path);
    if (item && (item->folder || (item->attributes & kAttrReadOnly))) return IoResult::AccessDenied;
    if (!TakeSpace(static_cast<std::int64_t>(bytes.size()))) return IoResult::DiskFull;
    if (item) {
        if (op == Op::Append) {
            item->bytes += bytes;
        } else {
            item->bytes = bytes;
            item->times.accessed = now_;
        }
        item->times.modified = now_;
        return IoResult::Ok;
    }
    Item made;
    made.path = Normal(path);
    made.bytes = bytes;
    made.attributes = kAttrArchive;
    made.times = FileTimes{now_, now_, now_};
    made.order = nextOrder_++;
    made.id = nextId_++;
    items_[key] = std::move(made);
    return IoResult::Ok;
}

}  // namespace quorv::test
