#include "batch/folder_path.h"

namespace quorv {
namespace {

bool IsSeparator(char c, char separator) { return c == separator || (separator == '\\' && c == '/'); }

// Offset just after the next separator at or after `from` (characters of the
// code page stepped as a whole); npos when none follows.
std::size_t NextSeparatorEnd(const CodePage& codePage, char separator, const std::string& path,
                             std::size_t from) {
    for (std::size_t i = from; i < path.size(); i += codePage.CharLength(path, i)) {
        if (IsSeparator(path[i], separator)) return i + 1;
    }
    return std::string::npos;
}

}  // namespace

std::vector<std::string> FolderPathStops(const CodePage& codePage, char separator, const std::string& path) {
    std::vector<std::string> stops;
    if (path.empty()) return stops;
    std::string p = path;
    if (separator == '\\') {
        // The walk below looks at whole characters, so a trail byte equal to
        // '/' stays as it is.
        for (std::size_t i = 0; i < p.size(); i += codePage.CharLength(p, i))
            if (p[i] == '/') p[i] = '\\';
    }
    // The first search starts at the second character (a leading separator
    // begins the first stop).
    std::size_t from = codePage.CharLength(p, 0);
    if (separator == '\\' && p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        // "\\\\server\\share\\": the server and the share are one stop.
        const std::size_t server = NextSeparatorEnd(codePage, separator, p, 2);
        if (server == std::string::npos) return stops;  // no share: nothing to create
        const std::size_t share = NextSeparatorEnd(codePage, separator, p, server);
        stops.push_back(share == std::string::npos ? p + separator : p.substr(0, share));
        if (share == std::string::npos) return stops;
        from = share;
    }
    for (;;) {
        const std::size_t end = NextSeparatorEnd(codePage, separator, p, from);
        if (end == std::string::npos) {
            // The rest of the path, unless the path already ended with a separator.
            if (from < p.size()) stops.push_back(p + separator);
            break;
        }
        stops.push_back(p.substr(0, end));
        from = end;
    }
    return stops;
}

bool CreateFolderPath(FileSystem& fs, const CodePage& codePage, const std::string& path,
                      const ErrorLogWriter& log, std::string* failed) {
    if (failed) failed->clear();
    const std::vector<std::string> stops = FolderPathStops(codePage, fs.Separator(), path);
    if (stops.empty()) return false;
    for (const std::string& stop : stops) {
        bool found = false;
        fs.FindEntries(stop + "*.*", [&found](const DirEntry&) {
            found = true;
            return false;
        });
        if (found) continue;
        if (fs.CreateFolder(stop)) continue;
        FileStatus status;
        if (fs.GetStatus(stop, status) && status.IsFolder()) continue;
        if (log) log(stop + " directory create failed.");
        if (failed) *failed = stop;
        return false;
    }
    return true;
}

std::string FolderNotCreatedText(const std::string& failedStop) {
    return "The folder " + failedStop + " cannot be created.";
}

bool IsFullFolderPath(char separator, const std::string& path) {
    if (separator != '\\') return !path.empty() && path[0] == separator;
    auto sep = [](char c) { return c == '\\' || c == '/'; };
    const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                        path[1] == ':' && sep(path[2]);
    if (letter) return true;
    if (path.size() < 5 || !sep(path[0]) || !sep(path[1])) return false;
    // "\\\\server\\share": a server name, a separator and a share name.
    std::size_t i = 2;
    while (i < path.size() && !sep(path[i])) ++i;
    if (i == 2 || i + 1 >= path.size()) return false;
    return !sep(path[i + 1]);
}

}  // namespace quorv
