// The file system of the Windows build: the *A functions with paths in the
// ANSI code page. Times are whole seconds since 1970 (UTC).
#include <windows.h>

#include <atomic>
#include <string>

#include "engine/mbtext.h"
#include "platform/filesystem.h"
#include "platform/system.h"

namespace quorv {
namespace {

// Closes a file handle on scope exit.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    bool Close() {
        if (!ok()) return true;
        const BOOL r = ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return r != FALSE;
    }

private:
    HANDLE h_;
};

// Closes a directory search on scope exit.
class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) ::FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

const std::int64_t kEpochDifference = 11644473600LL;  // seconds from 1601 to 1970
const std::int64_t kTicksPerSecond = 10000000LL;

std::int64_t ToUnix(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<std::int64_t>(u.QuadPart / kTicksPerSecond) - kEpochDifference;
}

FILETIME FromUnix(std::int64_t seconds) {
    std::int64_t since1601 = seconds + kEpochDifference;
    if (since1601 < 0) since1601 = 0;
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<ULONGLONG>(since1601) * static_cast<ULONGLONG>(kTicksPerSecond);
    FILETIME ft;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

IoResult FromError(DWORD e) {
    switch (e) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return IoResult::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return IoResult::AccessDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return IoResult::NotFound;
    default:
        return IoResult::Failed;
    }
}

// The last '\\' or '/' that is a character of its own: in a double-byte
// code page the trail byte of a character may have the same value.
std::size_t LastSeparator(const std::string& path) {
    const CodePage& cp = SystemCodePage();
    const std::size_t back = mb::FindLastChar(cp, path, '\\');
    const std::size_t slash = mb::FindLastChar(cp, path, '/');
    if (back == mb::npos) return slash;
    if (slash == mb::npos) return back;
    return back > slash ? back : slash;
}

std::string NameOf(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderOf(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string TempNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return FolderOf(path) + "~" + NameOf(path) + ".qvtmp" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(counter++);
}

bool WriteAll(HANDLE h, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

class Win32FileSystem : public FileSystem {
public:
    char Separator() const override { return '\\'; }

    bool FindEntries(const std::string& pattern,
                     const std::function<bool(const DirEntry&)>& visit) override {
        if (pattern.empty()) return false;
        WIN32_FIND_DATAA fd;
        FindHandle h(::FindFirstFileA(pattern.c_str(), &fd));
        if (!h.ok()) return false;
        DirEntry e;
        do {
            e.name = fd.cFileName;
            e.attributes = fd.dwFileAttributes;
            // Only links to elsewhere (symbolic links, junctions) count as
            // links; cloud placeholders and the like are ordinary items.
            if ((e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsReparseTagNameSurrogate(fd.dwReserved0))
                e.attributes &= ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_REPARSE_POINT);
            if (!visit(e)) return true;
        } while (::FindNextFileA(h.get(), &fd));
        return true;
    }

    bool Exists(const std::string& path) override {
        if (path.empty() || HasWildcard(path)) return false;
        const std::string name = NameOf(path);
        if (name.empty()) return false;
        WIN32_FIND_DATAA fd;
        FindHandle h(::FindFirstFileA(path.c_str(), &fd));
        if (!h.ok()) return false;
        // The search ignores case and also answers to short 8.3 names: only
        // the exact stored name counts.
        return name == fd.cFileName;
    }

    bool GetStatus(const std::string& path, FileStatus& out) override {
        if (path.empty()) return false;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        out = FileStatus{};
        out.attributes = data.dwFileAttributes;
        out.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (out.IsFolder()) out.size = 0;
        out.times.created = ToUnix(data.ftCreationTime);
        out.times.accessed = ToUnix(data.ftLastAccessTime);
        out.times.modified = ToUnix(data.ftLastWriteTime);
        return true;
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes,
                       const FileTimes* times) override {
        if (path.empty()) return false;
        const DWORD attrs = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
        if (!::SetFileAttributesA(path.c_str(), attrs)) return false;
        if (!times) return true;
        Handle h(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h.ok()) return false;
        FILETIME current[3];
        const bool known = ::GetFileTime(h.get(), &current[0], &current[1], &current[2]) != FALSE;
        const std::int64_t wanted[3] = {times->created, times->accessed, times->modified};
        FILETIME fresh[3];
        const FILETIME* set[3] = {nullptr, nullptr, nullptr};
        for (int k = 0; k < 3; ++k) {
            if (known && ToUnix(current[k]) == wanted[k]) continue;  // keep the fraction of a second
            fresh[k] = FromUnix(wanted[k]);
            set[k] = &fresh[k];
        }
        if (!set[0] && !set[1] && !set[2]) return true;
        return ::SetFileTime(h.get(), set[0], set[1], set[2]) != FALSE;
    }

    bool Move(const std::string& from, const std::string& to) override {
        if (from.empty() || to.empty()) return false;
        if (from != to && ::lstrcmpiA(from.c_str(), to.c_str()) == 0) {
            // Only the letter case changes. Some file systems answer such a
            // move with success and keep the old spelling: go through a
            // temporary name, and come back when the second step fails.
            const std::string temp = TempNameBeside(to);
            if (!::MoveFileA(from.c_str(), temp.c_str())) return false;
            if (::MoveFileA(temp.c_str(), to.c_str())) return true;
            ::MoveFileA(temp.c_str(), from.c_str());
            return false;
        }
        return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
    }

    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        if (from.empty() || to.empty()) return false;
        if (!overwrite) return ::CopyFileA(from.c_str(), to.c_str(), TRUE) != FALSE;
        // Copy beside the target, then replace it, so that a failed copy
        // never destroys the file it was to replace.
        const DWORD existing = ::GetFileAttributesA(to.c_str());
        if (existing == INVALID_FILE_ATTRIBUTES) return ::CopyFileA(from.c_str(), to.c_str(), TRUE) != FALSE;
        if (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        const std::string temp = TempNameBeside(to);
        if (!::CopyFileA(from.c_str(), temp.c_str(), TRUE)) return false;
        if (!::MoveFileExA(temp.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            ::DeleteFileA(temp.c_str());
            return false;
        }
        return true;
    }

    bool Delete(const std::string& path) override {
        if (path.empty()) return false;
        return ::DeleteFileA(path.c_str()) != FALSE;
    }

    bool CreateFolder(const std::string& path) override {
        if (path.empty()) return false;
        return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }

    IoResult ReadFile(const std::string& path, std::string& bytes) override {
        bytes.clear();
        if (path.empty()) return IoResult::NotFound;
        Handle h(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.ok()) return FromError(::GetLastError());
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(h.get(), &size)) return FromError(::GetLastError());
        if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
            return IoResult::Failed;
        std::string data;
        data.reserve(static_cast<std::size_t>(size.QuadPart));
        char buf[1 << 16];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(h.get(), buf, sizeof buf, &got, nullptr)) return FromError(::GetLastError());
            if (got == 0) break;
            data.append(buf, got);
        }
        bytes.swap(data);
        return IoResult::Ok;
    }

    IoResult WriteFile(const std::string& path, const std::string& bytes) override {
        if (path.empty()) return IoResult::NotFound;
        const DWORD existing = ::GetFileAttributesA(path.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return IoResult::AccessDenied;
        const std::string temp = TempNameBeside(path);
        Handle h(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.ok()) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_ACCESS_DENIED) return WriteInPlace(path, bytes);  // no right to add a name here
            return FromError(err);
        }
        if (!WriteAll(h.get(), bytes) || !::FlushFileBuffers(h.get())) {
            const DWORD err = ::GetLastError();
            h.Close();
            ::DeleteFileA(temp.c_str());
            return FromError(err);
        }
        if (!h.Close()) {
            const DWORD err = ::GetLastError();
            ::DeleteFileA(temp.c_str());
            return FromError(err);
        }
        if (!::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            const DWORD err = ::GetLastError();
            ::DeleteFileA(temp.c_str());
            return FromError(err);
        }
        return IoResult::Ok;
    }

    IoResult AppendFile(const std::string& path, const std::string& bytes) override {
        if (path.empty()) return IoResult::NotFound;
        Handle h(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.ok()) return FromError(::GetLastError());
        if (!WriteAll(h.get(), bytes)) return FromError(::GetLastError());
        if (!h.Close()) return FromError(::GetLastError());
        return IoResult::Ok;
    }

private:
    static IoResult WriteInPlace(const std::string& path, const std::string& bytes) {
        Handle h(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.ok()) return FromError(::GetLastError());
        if (!WriteAll(h.get(), bytes)) return FromError(::GetLastError());
        if (!h.Close()) return FromError(::GetLastError());
        return IoResult::Ok;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

}  // namespace quorv
