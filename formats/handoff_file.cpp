#include "formats/handoff_file.h"

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

bool TakeHandoffFile(FileSystem& fs, const CodePage& codePage, const std::string& path,
                     std::vector<std::string>& entries) {
    entries.clear();
    FileStatus status;
    if (!fs.GetStatus(path, status) || status.IsFolder()) return false;
    std::string taken;
    for (int n = 0; n < 100 && taken.empty(); ++n) {
        std::string aside = path + ".taken";
        if (n > 0) aside += std::to_string(n);
        FileStatus other;
        if (fs.GetStatus(aside, other)) continue;  // left by an earlier start
        if (fs.Move(path, aside)) taken = aside;
        else break;
    }
    const std::string& from = taken.empty() ? path : taken;
    if (!ReadHandoffFile(fs, codePage, from, entries)) return false;
    DeleteFileForced(fs, from);
    return true;
}

bool DeleteFileForced(FileSystem& fs, const std::string& path) {
    FileStatus status;
    if (path.empty() || !fs.GetStatus(path, status)) return false;
    if (status.IsFolder()) return false;
    if (!fs.SetAttributes(path, kAttrNormal, nullptr)) return false;
    return fs.Delete(path);
}

}  // namespace quorv
