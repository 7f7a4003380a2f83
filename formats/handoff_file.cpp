#include "formats/handoff_file.h"

#include <algorithm>
#include <cstdint>

namespace quorv {

std::vector<std::string> DecodeHandoff(std::string_view bytes, const CodePage& codePage) {
    std::vector<std::string> entries;
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos) break;
        entries.push_back(codePage.FromStored(bytes.substr(start, end - start)));
        start = end + 2;
    }
    return entries;
}

bool WriteHandoffFile(FileSystem& fs, const std::string& path,
                      const std::vector<std::string>& entries) {
    return fs.WriteFile(path, EncodeHandoff(entries)) == IoResult::Ok;
}

bool ReadHandoffFile(FileSystem& fs, const CodePage& codePage, const std::string& path,
                     std::vector<std::string>& entries) {
    entries.clear();
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return false;
    entries = DecodeHandoff(bytes, codePage);
    return true;
}

namespace {

constexpr const char* kTakenSuffix = ".taken";
constexpr int kAsideNames = 100;

// Moves a file to the first free name of path + ".taken", ".taken1", ...:
// the name it has now, empty when it could not be moved.
std::string MoveAside(FileSystem& fs, const std::string& from, const std::string& path) {
    for (int n = 0; n < kAsideNames; ++n) {
        std::string aside = path + kTakenSuffix;
        if (n > 0) aside += std::to_string(n);
        FileStatus other;
        if (fs.GetStatus(aside, other)) continue;  // taken by a file of its own
        return fs.Move(from, aside) ? aside : std::string();
    }
    return std::string();
}

// The number of a name moved aside: 0 for ".taken", n for ".taken<n>", -1
// for any other name.
long AsideNumber(const std::string& name, const std::string& takenName) {
    if (name.size() < takenName.size() || name.compare(0, takenName.size(), takenName) != 0) return -1;
    const std::string digits = name.substr(takenName.size());
    if (digits.size() > 4) return -1;
    long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Files moved aside by earlier starts whose deletion failed: oldest first
// (by their last write, which moving keeps: when the extension wrote them),
// then by their number.
std::vector<std::string> LeftoverFiles(FileSystem& fs, const std::string& path) {
    const std::size_t slash = path.rfind(fs.Separator());
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string takenName = path.substr(folder.size()) + kTakenSuffix;
    struct Leftover {
        std::int64_t modified;
        long number;
        std::string path;
    };
    std::vector<Leftover> found;
    fs.FindEntries(path + kTakenSuffix + "*", [&](const DirEntry& e) {
        const long number = AsideNumber(e.name, takenName);
        if (number < 0 || e.IsFolder()) return true;
        FileStatus status;
        const std::string full = folder + e.name;
        if (fs.GetStatus(full, status)) found.push_back(Leftover{status.times.modified, number, full});
        return true;
    });
    std::sort(found.begin(), found.end(), [](const Leftover& a, const Leftover& b) {
        return a.modified != b.modified ? a.modified < b.modified : a.number < b.number;
    });
    std::vector<std::string> paths;
    for (Leftover& l : found) paths.push_back(std::move(l.path));
    return paths;
}

// Reads a file's entries after those gathered so far and deletes it.
bool ReadAndDelete(FileSystem& fs, const CodePage& codePage, const std::string& path,
                   std::vector<std::string>& entries) {
    std::vector<std::string> more;
    if (!ReadHandoffFile(fs, codePage, path, more)) return false;
    entries.insert(entries.end(), more.begin(), more.end());
    DeleteFileForced(fs, path);
    return true;
}

}  // namespace

bool TakeHandoffFile(FileSystem& fs, const CodePage& codePage, const std::string& path,
                     std::vector<std::string>& entries) {
    entries.clear();
    bool any = false;
    // Files an earlier start moved aside but could not delete come first,
    // as they are older. Each is moved aside once more before it is read: a
    // program starting at the same moment reads it or this one, never both.
    for (const std::string& leftover : LeftoverFiles(fs, path)) {
        const std::string claimed = MoveAside(fs, leftover, path);
        if (!claimed.empty() && ReadAndDelete(fs, codePage, claimed, entries)) any = true;
    }
    FileStatus status;
    if (!fs.GetStatus(path, status) || status.IsFolder()) return any;
    const std::string taken = MoveAside(fs, path, path);
    return ReadAndDelete(fs, codePage, taken.empty() ? path : taken, entries) || any;
}

bool DeleteFileForced(FileSystem& fs, const std::string& path) {
    FileStatus status;
    if (path.empty() || !fs.GetStatus(path, status)) return false;
    if (status.IsFolder()) return false;
    if (!fs.SetAttributes(path, kAttrNormal, nullptr)) return false;
    return fs.Delete(path);
}

}  // namespace quorv
