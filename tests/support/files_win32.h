#pragma once
// Files of the Windows tests: whole files read and written, folders made
// and listed, trees removed. Every function speaks UTF-16 to the system in
// the "\\?\" form, so names in any script and paths beyond MAX_PATH work;
// the narrow overloads take paths in the ANSI code page, as the "A"
// functions of the system do.
#include <optional>
#include <string>
#include <vector>

namespace quorv::test {

// Text between the ANSI code page and UTF-16, and between UTF-8 and UTF-16.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
std::string Utf8(const std::wstring& text);

// The "\\?\" form of an absolute path ("C:\..." or "\\?\..."); any other
// path as it is.
std::wstring Long(const std::wstring& path);
// A host path ("/a/b") as Wine's processes see it ("Z:\a\b").
std::string HostToWindowsPath(const std::string& hostPath);
// The root of the system drive ("C:\"): folders there show in the folder
// browser, unlike the temporary folder, which lies in a hidden one.
std::string SystemDriveRoot();

// A file or a folder exists at the path.
bool Exists(const std::wstring& path);
bool Exists(const std::string& path);
bool IsFolder(const std::wstring& path);
bool IsFolder(const std::string& path);

// The whole file; nothing when it cannot be read.
std::optional<std::string> ReadBytes(const std::wstring& path);
// Creates or replaces the file with exactly these bytes.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool WriteBytes(const std::string& path, const std::string& bytes);

// Creates the folder and its missing parents (false when a file is in the way).
bool MakeFolders(const std::wstring& path);
bool MakeFolders(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> NamesIn(const std::wstring& folder);
std::vector<std::string> NamesIn(const std::string& folder);

// How long RemoveTree tries again: a program that has just ended, or was
// just started, may hold its files for a moment.
inline constexpr int kRemovePatienceMs = 5000;
// Removes a folder with everything in it (read-only files included), or a
// file; true when nothing is left at the path.
bool RemoveTree(const std::wstring& path, int patienceMs = kRemovePatienceMs);
bool RemoveTree(const std::string& path, int patienceMs = kRemovePatienceMs);

}  // namespace quorv::test
