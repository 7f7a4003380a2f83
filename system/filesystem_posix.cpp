// The file system of the native build (Linux and other POSIX systems).
//
// Windows notions are mapped as follows:
// - a name starting with '.' (other than "." and "..") is hidden;
// - a file without the owner's write permission is read-only;
// - a symbolic link is a reparse point;
// - a folder lists its entries in the order of their upper-cased names
//   (as NTFS does), after "." and "..";
// - the creation time is the birth time where statx reports one, else the
//   status-change time; it cannot be written back;
// - Move uses renameat2(RENAME_NOREPLACE), so an existing target is never
//   replaced, not even by a race; where the file system does not offer that
//   flag it falls back to link() + unlink() for files (link fails on an
//   existing target too). A move onto another file system copies the file
//   to a new target (never replacing one) and then removes the source.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1
#endif
#include "platform/filesystem.h"
#include "system/system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace quorv {
namespace {

// Closes a descriptor on scope exit.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // Closes now; false when close reports an error (a late write failure).
    bool Close() {
        if (fd_ < 0) return true;
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0;
    }
    void Reset() { Close(); }

private:
    int fd_;
};

class Dir {
public:
    explicit Dir(DIR* d) : d_(d) {}
    ~Dir() { if (d_) ::closedir(d_); }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
    DIR* get() const { return d_; }

private:
    DIR* d_;
};

IoResult FromErrno(int e) {
    switch (e) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return IoResult::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return IoResult::AccessDenied;
    case ENOENT:
    case ENOTDIR:
        return IoResult::NotFound;
    default:
        return IoResult::Failed;
    }
}

std::string BaseName(const std::string& path) {
    const auto pos = path.rfind('/');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderOf(const std::string& path) {
    const auto pos = path.rfind('/');
    if (pos == std::string::npos) return ".";
    if (pos == 0) return "/";
    return path.substr(0, pos);
}

bool IsDots(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

std::uint32_t AttributesOf(const struct stat& st, bool isLink, const std::string& name) {
    std::uint32_t a = 0;
    if (S_ISDIR(st.st_mode)) a |= kAttrDirectory;
    if ((st.st_mode & S_IWUSR) == 0) a |= kAttrReadOnly;
    if (isLink) a |= kAttrReparsePoint;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= kAttrHidden;
    if (a == 0) a = kAttrNormal;
    return a;
}

std::int64_t CreationTime(int dirfd, const char* path, int flags, const struct stat& st) {
#if defined(STATX_BTIME)
    struct statx sx;
    if (::statx(dirfd, path, flags, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) != 0)
        return static_cast<std::int64_t>(sx.stx_btime.tv_sec);
#else
    (void)dirfd;
    (void)path;
    (void)flags;
#endif
    return static_cast<std::int64_t>(st.st_ctime);
}

// Writes all bytes; false with errno set on failure.
bool WriteAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// Copies the bytes of one open file into another; false with errno set.
bool CopyBytes(int in, int out) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t r = ::read(in, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) return true;
        if (!WriteAll(out, buf, static_cast<std::size_t>(r))) return false;
    }
}

std::string TempNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return FolderOf(path) + "/." + BaseName(path) + ".qvtmp" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

// Copies from -> to, creating `to` (which must not exist). On failure the
// partial target is removed and errno tells why.
bool CopyToNew(const std::string& from, const std::string& to, bool keepTimes) {
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok()) return false;
    struct stat st;
    if (::fstat(in.get(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777));
    if (!out.ok()) return false;
    bool ok = CopyBytes(in.get(), out.get());
    int err = errno;
    if (ok && keepTimes) {
        struct timespec ts[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.get(), ts);
    }
    if (!out.Close() && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(to.c_str());
        errno = err;
    }
    return ok;
}

class PosixFileSystem : public FileSystem {
public:
    char Separator() const override { return '/'; }
    bool NamesIgnoreCase() const override { return false; }
    bool TakesCallsFromSeveralThreads() const override { return true; }

    bool FindEntries(const std::string& pattern,
                     const std::function<bool(const DirEntry&)>& visit) override {
        const auto pos = pattern.rfind('/');
        const std::string folder = pos == std::string::npos ? "." : (pos == 0 ? "/" : pattern.substr(0, pos));
        const std::string wild = pos == std::string::npos ? pattern : pattern.substr(pos + 1);
        if (wild.empty()) return false;
        if (!HasWildcard(wild)) {
            // A search for one exact name.
            struct stat st;
            const std::string full = pattern;
            if (::lstat(full.c_str(), &st) != 0) return false;
            DirEntry e;
            e.name = wild;
            const bool link = S_ISLNK(st.st_mode);
            if (link) {
                struct stat target;
                if (::stat(full.c_str(), &target) == 0) st = target;
            }
            e.attributes = AttributesOf(st, link, e.name);
            visit(e);
            return true;
        }
        Dir dir(::opendir(folder.c_str()));
        if (!dir.get()) return false;
        const int dfd = ::dirfd(dir.get());
        // Windows reports "." and ".." first in every folder but a root.
        if (folder != "/") {
            for (const char* dots : {".", ".."}) {
                if (!MatchesWildcard(wild, dots)) continue;
                DirEntry e;
                e.name = dots;
                e.attributes = kAttrDirectory;
                if (!visit(e)) return true;
            }
        }
        // Names in the order of their upper-cased bytes, as an NTFS folder
        // lists them, so that runs over a folder number files the same way
        // every time (readdir's own order follows hash values).
        std::vector<std::pair<std::string, std::string>> names;  // sort key, name
        for (;;) {
            struct dirent* d = ::readdir(dir.get());
            if (!d) break;
            if (IsDots(d->d_name)) continue;
            if (!MatchesWildcard(wild, d->d_name)) continue;
            std::string name = d->d_name;
            std::string key = name;
            for (char& c : key)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            names.emplace_back(std::move(key), std::move(name));
        }
        std::sort(names.begin(), names.end());
        DirEntry e;
        for (auto& n : names) {
            struct stat st;
            if (::fstatat(dfd, n.second.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // vanished meanwhile
            const bool link = S_ISLNK(st.st_mode);
            if (link) {
                struct stat target;
                if (::fstatat(dfd, n.second.c_str(), &target, 0) == 0) st = target;
            }
            e.name = std::move(n.second);
            e.attributes = AttributesOf(st, link, e.name);
            if (!visit(e)) return true;
        }
        return true;
    }

    bool ListNames(const std::string& folder, const std::function<bool(std::string_view name)>& visit) override {
        std::string path = folder;
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        Dir dir(::opendir(path.empty() ? "." : path.c_str()));
        if (!dir.get()) return false;
        while (struct dirent* d = ::readdir(dir.get())) {
            if (IsDots(d->d_name)) continue;
            if (!visit(std::string_view(d->d_name))) break;
        }
        return true;
    }

    bool FindNames(const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) override {
        const auto pos = pattern.rfind('/');
        const std::string folder = pos == std::string::npos ? "." : (pos == 0 ? "/" : pattern.substr(0, pos));
        const std::string wild = pos == std::string::npos ? pattern : pattern.substr(pos + 1);
        if (wild.empty() || !HasWildcard(wild)) return FindEntries(pattern, visit);
        Dir dir(::opendir(folder.c_str()));
        if (!dir.get()) return false;
        const int dfd = ::dirfd(dir.get());
        if (folder != "/") {
            for (const char* dots : {".", ".."}) {
                if (!MatchesWildcard(wild, dots)) continue;
                DirEntry e;
                e.name = dots;
                e.attributes = kAttrDirectory;
                if (!visit(e)) return true;
            }
        }
        struct Item {
            std::string key;
            std::string name;
            unsigned char type;
            bool operator<(const Item& o) const { return key < o.key; }
        };
        std::vector<Item> items;
        for (;;) {
            struct dirent* d = ::readdir(dir.get());
            if (!d) break;
            if (IsDots(d->d_name)) continue;
            if (!MatchesWildcard(wild, d->d_name)) continue;
            Item item{d->d_name, d->d_name, d->d_type};
            for (char& c : item.key)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            items.push_back(std::move(item));
        }
        std::sort(items.begin(), items.end());
        DirEntry e;
        for (auto& item : items) {
            std::uint32_t a = 0;
            if (item.type == DT_DIR) {
                a = kAttrDirectory;
            } else if (item.type == DT_LNK || item.type == DT_UNKNOWN) {
                // Only these need a status call: is it a folder, is it a link?
                struct stat st;
                if (::fstatat(dfd, item.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
                const bool link = S_ISLNK(st.st_mode);
                if (link) {
                    struct stat target;
                    if (::fstatat(dfd, item.name.c_str(), &target, 0) == 0) st = target;
                    a |= kAttrReparsePoint;
                }
                if (S_ISDIR(st.st_mode)) a |= kAttrDirectory;
            }
            if (item.name[0] == '.') a |= kAttrHidden;
            e.name = std::move(item.name);
            e.attributes = a == 0 ? static_cast<std::uint32_t>(kAttrNormal) : a;
            if (!visit(e)) return true;
        }
        return true;
    }

    bool Exists(const std::string& path) override {
        if (path.empty() || HasWildcard(path)) return false;
        if (path.back() == '/') return false;
        struct stat st;
        return ::lstat(path.c_str(), &st) == 0;
    }

    bool GetStatus(const std::string& path, FileStatus& out) override {
        if (path.empty()) return false;
#if defined(STATX_BTIME)
        {
            // One call for everything when the file is no link.
            struct statx sx;
            if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
                return false;
            if (!S_ISLNK(sx.stx_mode)) {
                struct stat st {};
                st.st_mode = sx.stx_mode;
                out = FileStatus{};
                out.attributes = AttributesOf(st, false, BaseName(path));
                out.size = S_ISDIR(sx.stx_mode) ? 0 : static_cast<std::uint64_t>(sx.stx_size);
                out.times.accessed = static_cast<std::int64_t>(sx.stx_atime.tv_sec);
                out.times.modified = static_cast<std::int64_t>(sx.stx_mtime.tv_sec);
                out.times.created = (sx.stx_mask & STATX_BTIME) ? static_cast<std::int64_t>(sx.stx_btime.tv_sec)
                                                                : static_cast<std::int64_t>(sx.stx_ctime.tv_sec);
                return true;
            }
        }
#endif
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return false;
        const bool link = S_ISLNK(st.st_mode);
        int flags = AT_SYMLINK_NOFOLLOW;
        if (link) {
            struct stat target;
            if (::stat(path.c_str(), &target) == 0) {
                st = target;
                flags = 0;
            }
        }
        out = FileStatus{};
        out.attributes = AttributesOf(st, link, BaseName(path));
        out.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
        out.times.accessed = static_cast<std::int64_t>(st.st_atime);
        out.times.modified = static_cast<std::int64_t>(st.st_mtime);
        out.times.created = CreationTime(AT_FDCWD, path.c_str(), flags, st);
        return true;
    }

    std::uint64_t FileId(const std::string& path) override {
        struct stat st;
        if (path.empty() || ::lstat(path.c_str(), &st) != 0) return 0;
        return (static_cast<std::uint64_t>(st.st_dev) << 40) ^ static_cast<std::uint64_t>(st.st_ino);
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes,
                       const FileTimes* times) override {
        if (path.empty()) return false;
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return false;
        mode_t mode = st.st_mode & 07777;
        if (attributes & kAttrReadOnly)
            mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
        else
            mode |= S_IWUSR;
        // Hidden, system and archive have no counterpart here.
        if (mode != (st.st_mode & 07777) && ::chmod(path.c_str(), mode) != 0) return false;
        if (times) {
            // The creation time cannot be written here.
            struct timespec ts[2];
            ts[0].tv_sec = static_cast<time_t>(times->accessed);
            ts[0].tv_nsec = 0;
            ts[1].tv_sec = static_cast<time_t>(times->modified);
            ts[1].tv_nsec = 0;
            if (st.st_atim.tv_sec == ts[0].tv_sec) ts[0].tv_nsec = UTIME_OMIT;
            if (st.st_mtim.tv_sec == ts[1].tv_sec) ts[1].tv_nsec = UTIME_OMIT;
            if ((ts[0].tv_nsec != UTIME_OMIT || ts[1].tv_nsec != UTIME_OMIT) &&
                ::utimensat(AT_FDCWD, path.c_str(), ts, 0) != 0)
                return false;
        }
        return true;
    }

    bool Move(const std::string& from, const std::string& to) override {
        if (from.empty() || to.empty()) return false;
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
        const int err = errno;
        if (err == EXDEV) return MoveAcross(from, to);
        if (err != EINVAL && err != ENOSYS && err != ENOTSUP) return false;
        // The file system lacks RENAME_NOREPLACE: link() refuses an existing
        // target, so the check and the move are one step.
        struct stat st;
        if (::lstat(from.c_str(), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) {
            if (::lstat(to.c_str(), &st) == 0) return false;
            return ::rename(from.c_str(), to.c_str()) == 0;
        }
        if (::link(from.c_str(), to.c_str()) != 0) {
            if (errno == EXDEV) return MoveAcross(from, to);
            return false;
        }
        if (::unlink(from.c_str()) != 0) {
            ::unlink(to.c_str());
            return false;
        }
        return true;
    }

    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        if (from.empty() || to.empty()) return false;
        if (!overwrite) return CopyToNew(from, to, true);
        // Copy beside the target first, then let it take the target's place,
        // so that a failed copy never destroys the file it was to replace.
        struct stat st;
        if (::stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
        const std::string temp = TempNameBeside(to);
        if (!CopyToNew(from, temp, true)) return false;
        if (::rename(temp.c_str(), to.c_str()) != 0) {
            ::unlink(temp.c_str());
            return false;
        }
        return true;
    }

    bool Delete(const std::string& path) override {
        if (path.empty()) return false;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) return false;
        if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return false;  // read-only
        return ::unlink(path.c_str()) == 0;
    }

    bool CreateFolder(const std::string& path) override {
        if (path.empty()) return false;
        return ::mkdir(path.c_str(), 0777) == 0;
    }

    IoResult ReadFile(const std::string& path, std::string& bytes) override {
        bytes.clear();
        if (path.empty()) return IoResult::NotFound;
        Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd.ok()) return FromErrno(errno);
        struct stat st;
        if (::fstat(fd.get(), &st) != 0) return FromErrno(errno);
        if (S_ISDIR(st.st_mode)) return IoResult::AccessDenied;  // as Windows answers for a folder
        std::string data;
        if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
        char buf[1 << 16];
        for (;;) {
            const ssize_t r = ::read(fd.get(), buf, sizeof buf);
            if (r < 0) {
                if (errno == EINTR) continue;
                return FromErrno(errno);
            }
            if (r == 0) break;
            data.append(buf, static_cast<std::size_t>(r));
        }
        bytes.swap(data);
        return IoResult::Ok;
    }

    IoResult WriteFile(const std::string& path, const std::string& bytes) override {
        if (path.empty()) return IoResult::NotFound;
        struct stat st;
        const bool existed = ::stat(path.c_str(), &st) == 0;
        if (existed) {
            if (S_ISDIR(st.st_mode)) return IoResult::AccessDenied;
            if ((st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0) return IoResult::AccessDenied;
        }
        const std::string temp = TempNameBeside(path);
        const mode_t mode = existed ? (st.st_mode & 07777) : 0666;
        Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!fd.ok()) {
            const int err = errno;
            if (err == EACCES || err == EPERM) return WriteInPlace(path, bytes);  // no right to add a name here
            return FromErrno(err);
        }
        if (existed) (void)::fchmod(fd.get(), mode);  // umask must not change the kept mode
        if (!WriteAll(fd.get(), bytes.data(), bytes.size()) || ::fsync(fd.get()) != 0) {
            const int err = errno;
            fd.Close();
            ::unlink(temp.c_str());
            return FromErrno(err);
        }
        if (!fd.Close()) {
            const int err = errno;
            ::unlink(temp.c_str());
            return FromErrno(err);
        }
        if (::rename(temp.c_str(), path.c_str()) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            return FromErrno(err);
        }
        return IoResult::Ok;
    }

    IoResult AppendFile(const std::string& path, const std::string& bytes) override {
        if (path.empty()) return IoResult::NotFound;
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
        if (!fd.ok()) return FromErrno(errno);
        if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return FromErrno(errno);
        if (!fd.Close()) return FromErrno(errno);
        return IoResult::Ok;
    }

private:
    // The last resort when no temporary file can be made beside the target.
    static IoResult WriteInPlace(const std::string& path, const std::string& bytes) {
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (!fd.ok()) return FromErrno(errno);
        if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return FromErrno(errno);
        if (!fd.Close()) return FromErrno(errno);
        return IoResult::Ok;
    }

    // A move onto another file system: copy to a new target, then remove
    // the source; the target is removed again when the source cannot be.
    static bool MoveAcross(const std::string& from, const std::string& to) {
        struct stat st;
        if (::lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            errno = EXDEV;
            return false;
        }
        if (!CopyToNew(from, to, true)) return false;
        if (::unlink(from.c_str()) != 0) {
            const int err = errno;
            ::unlink(to.c_str());
            errno = err;
            return false;
        }
        return true;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace quorv
