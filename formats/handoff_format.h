#pragma once
// The bytes of the handoff file "Quorv2.qv2" and the names of the files that
// lie together in the install folder. Standard C++ only: the context-menu
// extension, which links against nothing of the program, compiles this
// header too, so both sides build the same bytes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorv {

// The files of the install folder.
inline constexpr const char* kHandoffFileName = "Quorv2.qv2";
inline constexpr const char* kMainProgramFileName = "Quorv2.exe";
inline constexpr const char* kShellExtensionFileName = "QuorvShell.dll";

// Every entry of the handoff file ends with this, the last one included.
inline constexpr std::string_view kHandoffLineEnd = "\r\n";

// Appends one entry (a full path) and its line end.
inline void AppendHandoffEntry(std::string& text, std::string_view entry) {
    text.append(entry);
    text.append(kHandoffLineEnd);
}

// The file's bytes: every entry followed by "\r\n", nothing else.
inline std::string EncodeHandoff(const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& entry : entries) AppendHandoffEntry(out, entry);
    return out;
}

// How many leading bytes of a handoff file that is still waiting to be read
// a new write keeps before its own entries: the whole entries, that is the
// text up to and including the last "\r\n" before the first zero byte. The
// reader would never take what lies behind that as entries, and new entries
// written after it would be joined to a broken line or hidden behind the
// zero byte.
inline std::size_t HandoffKeptLength(std::string_view existing) {
    const std::size_t zero = existing.find('\0');
    if (zero != std::string_view::npos) existing = existing.substr(0, zero);
    const std::size_t last = existing.rfind(kHandoffLineEnd);
    return last == std::string_view::npos ? 0 : last + kHandoffLineEnd.size();
}

}  // namespace quorv
