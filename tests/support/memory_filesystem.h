#pragma once
// An in-memory file system for tests: folders, files with bytes, attributes
// and times, enumeration in the order the items were made, and failures on
// demand (an operation failing for one path or for the next N calls, a disk
// that fills up, access denied, files locked or vanishing at a chosen moment).
//
// Paths use the separator given to the constructor. A path with no separator
// in it (such as "C:" or "" for "/x") is a root: it always exists as a folder.
// Names ignore letter case (as on Windows, while keeping the case they were
// made with) or are compared exactly, as the constructor is told; by default
// they ignore it with '\\' and compare exactly with '/'.
//
// Behaviour follows the real implementations: Move fails when the target
// exists (except a rename onto the same item in another case) and may move
// read-only files; Delete refuses folders and read-only files; WriteFile
// leaves the old file untouched when it fails; Exists compares the last part
// of the path byte for byte.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/filesystem.h"

namespace quorv::test {

class MemoryFileSystem : public FileSystem {
public:
    enum class Op {
        Any,
        Find,
        Exists,
        GetStatus,
        SetAttributes,
        Move,
        Copy,
        Delete,
        CreateFolder,
        Read,
        Write,
        Append,
    };

    explicit MemoryFileSystem(char separator = '\\');
    MemoryFileSystem(char separator, bool namesIgnoreCase);

    // Thrown by the call that StopAfter chose: the program "crashes" there,
    // after the calls before it were done.
    struct Crash {};

    // ---- setting up (no failure injection, no hook, no counting)
    // Creates the folder and any missing parent folders.
    void AddFolder(const std::string& path);
    // Creates or replaces a file (and any missing parent folders).
    void AddFile(const std::string& path, const std::string& bytes = std::string(),
                 std::uint32_t attributes = kAttrArchive, const FileTimes& times = FileTimes{});
    // Removes a file or a folder with everything in it; false when missing.
    bool Remove(const std::string& path);
    // The time given to files made through the interface (Copy, WriteFile, ...).
    void SetNow(std::int64_t now) { now_ = now; }
    // Whether FindEntries reports "." and ".." in folders that are not roots (default true).
    void SetReportDots(bool on) { reportDots_ = on; }

    // ---- looking (no failure injection, no hook, no counting)
    bool HasFile(const std::string& path) const;
    bool HasFolder(const std::string& path) const;
    // Bytes of a file; empty when missing.
    std::string Contents(const std::string& path) const;
    // Attributes and times of an item; 0 / zero times when missing.
    std::uint32_t AttributesOf(const std::string& path) const;
    FileTimes TimesOf(const std::string& path) const;
    // The stored path (with the letter case it was made with); empty when missing.
    std::string StoredPath(const std::string& path) const;
    // Every file as stored path -> bytes, sorted by path.
    std::map<std::string, std::string> Files() const;
    std::size_t FileCount() const;
    // How often an operation was called through the interface (Op::Any: all).
    int Calls(Op op) const;

    // ---- failures
    // Makes op fail whenever one of its paths equals path (compared as the
    // file system compares names), `times` times or forever when times < 0.
    // Whole-file operations report `error`; the others return false.
    void FailOn(Op op, const std::string& path, int times = -1, IoResult error = IoResult::Failed);
    // Makes the next `count` calls of op fail (Op::Any: of any operation).
    void FailNext(Op op, int count, IoResult error = IoResult::Failed);
    // Refuses every change of the item and its reading (AccessDenied), as a
    // file held open by another program would; SetAttributes and GetStatus still work.
    void Lock(const std::string& path);
    void Unlock(const std::string& path);
    // Space for file bytes written from now on (WriteFile, AppendFile, Copy);
    // a write that does not fit fails with DiskFull and changes nothing.
    // A negative value means unlimited (the default).
    void SetFreeSpace(std::int64_t bytes) { freeSpace_ = bytes; }
    std::int64_t FreeSpace() const { return freeSpace_; }
    // Called before every operation through the interface, with its first
    // path; may change the file system (make a file vanish, take a name).
    void SetHook(std::function<void(Op, const std::string&)> hook) { hook_ = std::move(hook); }
    // After `count` more calls of op, the next one throws Crash without
    // doing anything (a negative count: never).
    void StopAfter(Op op, int count) {
        stopOp_ = op;
        stopAfter_ = count;
    }
    void ClearFailures();

    // ---- FileSystem
    char Separator() const override { return sep_; }
    bool NamesIgnoreCase() const override { return ignoreCase_; }
    bool FindEntries(const std::string& pattern,
                     const std::function<bool(const DirEntry&)>& visit) override;
    bool Exists(const std::string& path) override;
    bool GetStatus(const std::string& path, FileStatus& out) override;
    // The item's number of making (kept when it moves).
    std::uint64_t FileId(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes,
                       const FileTimes* times) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool Delete(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    IoResult ReadFile(const std::string& path, std::string& bytes) override;
    IoResult WriteFile(const std::string& path, const std::string& bytes) override;
    IoResult AppendFile(const std::string& path, const std::string& bytes) override;

private:
    struct Item {
        std::string path;  // as made (letter case kept)
        bool folder = false;
        std::string bytes;
        std::uint32_t attributes = 0;
        FileTimes times;
        std::uint64_t order = 0;
        std::uint64_t id = 0;
    };
    struct Failure {
        Op op;
        std::string key;  // empty: any path
        int times;
        IoResult error;
    };

    std::string Normal(const std::string& path) const;  // trailing separators removed
    std::string Key(const std::string& path) const;     // Normal, folded when names ignore case
    std::string ParentKey(const std::string& key) const;
    bool IsRoot(const std::string& key) const { return key.find(sep_) == std::string::npos; }
    Item* Find(const std::string& path);
    const Item* Find(const std::string& path) const;
    bool FolderExists(const std::string& key) const;
    void MakeParents(const std::string& path);
    // Counts the call, runs the hook, then the failures: true when the call must fail.
    bool Enter(Op op, const std::string& path, const std::string& second, IoResult* error);
    bool Locked(const std::string& path) const;
    bool TakeSpace(std::int64_t bytes);
    // WriteFile (op Write: replaces the bytes) and AppendFile (op Append).
    IoResult PutBytes(Op op, const std::string& path, const std::string& bytes);

    char sep_;
    bool ignoreCase_;
    bool reportDots_ = true;
    std::int64_t now_ = 0;
    std::int64_t freeSpace_ = -1;
    std::uint64_t nextOrder_ = 0;
    std::uint64_t nextId_ = 1;
    std::unordered_map<std::string, Item> items_;
    std::vector<Failure> failures_;
    std::vector<std::string> locked_;
    std::function<void(Op, const std::string&)> hook_;
    Op stopOp_ = Op::Any;
    int stopAfter_ = -1;
    std::map<Op, int> calls_;
};

}  // namespace quorv::test
