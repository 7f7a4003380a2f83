// The file system of the Windows build. Paths are the program's narrow text
// (the process's ANSI code page); every call goes through the wide
// functions with the path converted once (WideFilePath), so that a path of
// any length works: from 248 characters on it takes the "\\?\" form, which
// the plain forms of the file functions do not need below that length and
// cannot do without above it. Names the system reports come back through
// the code page's one conversion (a character it cannot hold becomes '?').
// Times are whole seconds since 1970 (UTC).
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/filesystem.h"
#include "platform/mbtext.h"
#include "platform/raii_win32.h"
#include "system/system.h"
#include "system/text_win32.h"

namespace quorv {
namespace {

// Closes a handle and says whether that succeeded (the last writes of a
// file may fail only then).
bool CloseChecked(win::FileHandle& h) {
    if (!h) return true;
    return ::CloseHandle(h.release()) != FALSE;
}

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

// Fails with ERROR_INVALID_NAME for a path that has no wide form (empty,
// or holding a zero byte).
bool Usable(const std::wstring& wide) {
    if (!wide.empty()) return true;
    ::SetLastError(ERROR_INVALID_NAME);
    return false;
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const std::wstring wide = win::WideFilePath(path);
    if (!Usable(wide)) return INVALID_HANDLE_VALUE;
    return ::CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD AttributesOf(const std::string& path) {
    const std::wstring wide = win::WideFilePath(path);
    if (!Usable(wide)) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(wide.c_str());
}

// A move that fails when the target exists (MoveFile), or one that replaces it.
bool MoveOne(const std::string& from, const std::string& to, bool replace = false) {
    const std::wstring a = win::WideFilePath(from), b = win::WideFilePath(to);
    if (!Usable(a) || !Usable(b)) return false;
    if (replace) return ::MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    return ::MoveFileW(a.c_str(), b.c_str()) != FALSE;
}

bool CopyOne(const std::string& from, const std::string& to) {
    const std::wstring a = win::WideFilePath(from), b = win::WideFilePath(to);
    if (!Usable(a) || !Usable(b)) return false;
    return ::CopyFileW(a.c_str(), b.c_str(), TRUE) != FALSE;
}

bool DeleteOne(const std::string& path) {
    const std::wstring wide = win::WideFilePath(path);
    if (!Usable(wide)) return false;
    return ::DeleteFileW(wide.c_str()) != FALSE;
}

// True when the two paths name the same item in another letter case only
// (compared as the file system compares names: ordinal, case folded).
bool OnlyCaseDiffers(const std::string& from, const std::string& to) {
    if (from == to) return false;
    const std::wstring a = win::WideFromNarrow(from), b = win::WideFromNarrow(to);
    if (a.empty() || b.empty() || a.size() > 0x7FFFFFFF || b.size() > 0x7FFFFFFF) return false;
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

class Win32FileSystem : public FileSystem {
public:
    char Separator() const override { return '\\'; }
    bool NamesIgnoreCase() const override { return true; }
    bool TakesCallsFromSeveralThreads() const override { return true; }

    bool FindEntries(const std::string& pattern,
                     const std::function<bool(const DirEntry&)>& visit) override {
        const std::wstring wide = win::WideFilePath(pattern);
        if (wide.empty()) return false;
        WIN32_FIND_DATAW fd;
        win::FindHandle h(::FindFirstFileW(wide.c_str(), &fd));
        if (!h) return false;
        DirEntry e;
        do {
            e.name = win::NarrowFromWide(fd.cFileName);
            e.attributes = fd.dwFileAttributes;
            // Only links to elsewhere (symbolic links, junctions) count as
            // links; cloud placeholders and the like are ordinary items.
            if ((e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsReparseTagNameSurrogate(fd.dwReserved0))
                e.attributes &= ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_REPARSE_POINT);
            if (!visit(e)) return true;
        } while (::FindNextFileW(h.get(), &fd));
        return true;
    }

    bool ListNames(const std::string& folder, const std::function<bool(std::string_view name)>& visit) override {
        std::string pattern = folder;
        if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/')) pattern += '\\';
        pattern += '*';
        const std::wstring wide = win::WideFilePath(pattern);
        if (wide.empty()) return false;
        WIN32_FIND_DATAW fd;
        win::FindHandle h(::FindFirstFileExW(wide.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
        if (!h) return false;
        std::string name;
        do {
            if (fd.cFileName[0] == L'.' &&
                (fd.cFileName[1] == L'\0' || (fd.cFileName[1] == L'.' && fd.cFileName[2] == L'\0')))
                continue;
            name = win::NarrowFromWide(fd.cFileName);
            if (!visit(name)) break;
        } while (::FindNextFileW(h.get(), &fd));
        return true;
    }

    bool Exists(const std::string& path) override {
        if (path.empty() || HasWildcard(path)) return false;
        const std::string name = NameOf(path);
        if (name.empty()) return false;
        const std::wstring wide = win::WideFilePath(path);
        if (wide.empty()) return false;
        WIN32_FIND_DATAW fd;
        win::FindHandle h(::FindFirstFileW(wide.c_str(), &fd));
        if (!h) return false;
        // The search ignores case and also answers to short 8.3 names: only
        // the exact stored name counts.
        return name == win::NarrowFromWide(fd.cFileName);
    }

    bool GetStatus(const std::string& path, FileStatus& out) override {
        const std::wstring wide = win::WideFilePath(path);
        if (wide.empty()) return false;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return false;
        out = FileStatus{};
        out.attributes = data.dwFileAttributes;
        out.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (out.IsFolder()) out.size = 0;
        out.times.created = ToUnix(data.ftCreationTime);
        out.times.accessed = ToUnix(data.ftLastAccessTime);
        out.times.modified = ToUnix(data.ftLastWriteTime);
        return true;
    }

    std::uint64_t FileId(const std::string& path) override {
        const std::wstring wide = win::WideFilePath(path);
        if (wide.empty()) return 0;
        win::FileHandle h(::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) return 0;
        BY_HANDLE_FILE_INFORMATION info;
        if (!::GetFileInformationByHandle(h.get(), &info)) return 0;
        const std::uint64_t index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        return index ^ (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 32);
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes,
                       const FileTimes* times) override {
        const std::wstring wide = win::WideFilePath(path);
        if (wide.empty()) return false;
        const DWORD attrs = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
        if (!::SetFileAttributesW(wide.c_str(), attrs)) return false;
        if (!times) return true;
        win::FileHandle h(::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) return false;
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
        if (OnlyCaseDiffers(from, to)) {
            // Only the letter case changes. Some file systems answer such a
            // move with success and keep the old spelling: go through a
            // temporary name, and come back when the second step fails.
            const std::string temp = TempNameBeside(to);
            if (!MoveOne(from, temp)) return false;
            if (MoveOne(temp, to)) return true;
            MoveOne(temp, from);
            return false;
        }
        return MoveOne(from, to);
    }

    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        if (from.empty() || to.empty()) return false;
        if (!overwrite) return CopyOne(from, to);
        // Copy beside the target, then replace it, so that a failed copy
        // never destroys the file it was to replace.
        const DWORD existing = AttributesOf(to);
        if (existing == INVALID_FILE_ATTRIBUTES) return CopyOne(from, to);
        if (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        const std::string temp = TempNameBeside(to);
        if (!CopyOne(from, temp)) return false;
        if (!MoveOne(temp, to, true)) {
            DeleteOne(temp);
            return false;
        }
        return true;
    }

    bool Delete(const std::string& path) override { return DeleteOne(path); }

    bool CreateFolder(const std::string& path) override {
        const std::wstring wide = win::WideFilePath(path);
        if (wide.empty()) return false;
        return ::CreateDirectoryW(wide.c_str(), nullptr) != FALSE;
    }

    IoResult ReadFile(const std::string& path, std::string& bytes) override {
        bytes.clear();
        if (path.empty()) return IoResult::NotFound;
        win::FileHandle h(OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
        if (!h) return FromError(::GetLastError());
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
        const DWORD existing = AttributesOf(path);
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return IoResult::AccessDenied;
        const std::string temp = TempNameBeside(path);
        win::FileHandle h(OpenFile(temp, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        if (!h) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_ACCESS_DENIED) return WriteInPlace(path, bytes);  // no right to add a name here
            return FromError(err);
        }
        if (!WriteAll(h.get(), bytes) || !::FlushFileBuffers(h.get())) {
            const DWORD err = ::GetLastError();
            h.reset();
            DeleteOne(temp);
            return FromError(err);
        }
        if (!CloseChecked(h)) {
            const DWORD err = ::GetLastError();
            DeleteOne(temp);
            return FromError(err);
        }
        if (!MoveOne(temp, path, true)) {
            const DWORD err = ::GetLastError();
            DeleteOne(temp);
            return FromError(err);
        }
        return IoResult::Ok;
    }

    IoResult AppendFile(const std::string& path, const std::string& bytes) override {
        if (path.empty()) return IoResult::NotFound;
        win::FileHandle h(OpenFile(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        if (!h) return FromError(::GetLastError());
        if (!WriteAll(h.get(), bytes)) return FromError(::GetLastError());
        if (!CloseChecked(h)) return FromError(::GetLastError());
        return IoResult::Ok;
    }

private:
    static IoResult WriteInPlace(const std::string& path, const std::string& bytes) {
        win::FileHandle h(OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        if (!h) return FromError(::GetLastError());
        if (!WriteAll(h.get(), bytes)) return FromError(::GetLastError());
        if (!CloseChecked(h)) return FromError(::GetLastError());
        return IoResult::Ok;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

}  // namespace quorv
