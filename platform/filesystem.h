#pragma once
// The file-system seam. Paths are narrow text in the platform's code page
// (ANSI on Windows, UTF-8 natively) and use the platform's separator.
// Implementations: Win32 (*A functions), POSIX, and an in-memory fake for
// tests that must make moves fail, disks fill up and files vanish.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quorv {

// File attributes with the values Windows gives them.
enum FileAttribute : std::uint32_t {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    kAttrReparsePoint = 0x400,
};

// Times as seconds since 1 January 1970 00:00:00 UTC.
struct FileTimes {
    std::int64_t created = 0;
    std::int64_t accessed = 0;
    std::int64_t modified = 0;
};

struct FileStatus {
    FileTimes times;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    bool IsFolder() const { return (attributes & kAttrDirectory) != 0; }
};

struct DirEntry {
    std::string name;            // name only, no folder
    std::uint32_t attributes = 0;
    bool IsFolder() const { return (attributes & kAttrDirectory) != 0; }
    // A link to elsewhere (symbolic link, junction).
    bool IsLink() const { return (attributes & kAttrReparsePoint) != 0; }
};

// Outcome of whole-file reads and writes, fine enough to pick the user's
// error text ("Disk full while accessing %1." and friends).
enum class IoResult { Ok, NotFound, AccessDenied, DiskFull, Failed };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // '\\' on Windows, '/' natively.
    virtual char Separator() const = 0;

    // True when two names that differ only in letter case name the same
    // item (Windows), false when every byte counts (POSIX). A run compares
    // its targets this way, so that two files wanting "A.txt" and "a.txt"
    // clash where the file system would make them clash.
    virtual bool NamesIgnoreCase() const = 0;

    // True when its calls may come from several threads at once, a move on
    // one while a status is read on another (it keeps nothing between
    // calls but what the system keeps). Undo then reads the status of the
    // files it is about to move on a second thread.
    virtual bool TakesCallsFromSeveralThreads() const { return false; }

    // Calls visit for each entry matching pattern (a folder, the separator
    // and a wild-card name such as "*.*"), in the order the file system
    // reports them, "." and ".." included where the platform reports them.
    // visit returns false to stop early. Returns false when the folder
    // cannot be enumerated.
    virtual bool FindEntries(const std::string& pattern,
                             const std::function<bool(const DirEntry&)>& visit) = 0;

    // As FindEntries, for walking a tree: an implementation may report only
    // the folder and link attributes when that is much cheaper (POSIX needs
    // one status call per entry for the rest).
    virtual bool FindNames(const std::string& pattern,
                           const std::function<bool(const DirEntry&)>& visit) {
        return FindEntries(pattern, visit);
    }

    // Calls visit with the name of each entry of the folder ("." and ".."
    // left out), in no particular order, until it returns false. False when
    // the folder cannot be read. Cheaper than FindNames where that sorts or
    // needs a status call per entry: a run's plan reads a folder this way
    // to learn which of many names are taken.
    virtual bool ListNames(const std::string& folder, const std::function<bool(std::string_view name)>& visit);

    // True when a directory search for the exact path finds an entry whose
    // name equals the path's last part byte for byte (letter case included,
    // so that a rename that only changes case counts as done); an empty path
    // or a path holding wild cards never exists.
    virtual bool Exists(const std::string& path) = 0;

    // Times, attributes and size of a file or folder; false when it cannot be read.
    virtual bool GetStatus(const std::string& path, FileStatus& out) = 0;

    // A number that stays with the file when it is renamed within its
    // volume and that no other file there has (NTFS file index, inode); 0
    // when it cannot be read or the file system has none.
    virtual std::uint64_t FileId(const std::string& path) { (void)path; return 0; }

    // Sets the attributes; when times is given, writes the three times back
    // too (whole seconds). A time whose whole seconds already match is left
    // as it is, so that its fraction of a second is not cut off.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes,
                               const FileTimes* times) = 0;

    // One operating-system move (rename), possibly into another folder;
    // fails when the target exists (a rename of a file onto its own name in
    // another letter case is allowed where names ignore case). Read-only
    // files may be moved.
    virtual bool Move(const std::string& from, const std::string& to) = 0;

    // Copies a file; with overwrite false it fails when the target exists.
    virtual bool Copy(const std::string& from, const std::string& to, bool overwrite) = 0;

    // Deletes a file; fails for folders and read-only files.
    virtual bool Delete(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;

    // Whole-file access. WriteFile creates or replaces: the new bytes go to a
    // temporary file beside the target that then takes its place, so a full
    // disk or a failed write leaves the old file as it was. AppendFile
    // creates when missing and writes at the end.
    virtual IoResult ReadFile(const std::string& path, std::string& bytes) = 0;
    virtual IoResult WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual IoResult AppendFile(const std::string& path, const std::string& bytes) = 0;
};

// Wild-card match of one name as a Windows directory search does it:
// '*' is any run of characters, '?' any one character, letters compare
// without regard to ASCII case, a trailing ".*" also matches names without
// a dot ("*.*" matches every name) and a trailing "." matches names without one.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

// True when the text holds a '*' or a '?'.
bool HasWildcard(std::string_view text);

}  // namespace quorv
