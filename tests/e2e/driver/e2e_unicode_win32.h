#pragma once
// Names in any script and paths of any length for the end-to-end cases:
// the driver's own narrow text is the system's ANSI code page, which holds
// neither, so these helpers speak UTF-16 to the file system and to the
// program's windows, and UTF-8 to the program's files (its narrow text).
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {

std::string Utf8(const std::wstring& wide);
std::wstring FromUtf8(const std::string& utf8);

// A window's whole text (WM_GETTEXT in UTF-16).
std::wstring WideText(const Window& window);
// The entries of a list box (LB_GETTEXT in UTF-16).
std::vector<std::wstring> WideItems(const Window& list);

// ---- files (the "\\?\" form is used inside, so any length works)
bool WideExists(const std::wstring& path);
bool MakeWideFolders(const std::wstring& path);
// Creates or replaces the file with these bytes.
bool WriteWideFile(const std::wstring& path, const std::string& bytes);
std::string ReadWideFile(const std::wstring& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> WideNamesIn(const std::wstring& folder);
// Removes a folder with everything in it.
bool RemoveWideTree(const std::wstring& path);

// Removes the folder with everything in it when the scope ends: names the
// driver's narrow calls cannot reach go before the program folder is removed.
class WideTreeGuard {
public:
    explicit WideTreeGuard(std::wstring path) : path_(std::move(path)) {}
    ~WideTreeGuard() { RemoveWideTree(path_); }
    WideTreeGuard(const WideTreeGuard&) = delete;
    WideTreeGuard& operator=(const WideTreeGuard&) = delete;

private:
    std::wstring path_;
};

// The handoff file's bytes for these paths: UTF-8, each followed by CR LF.
std::string Utf8HandoffBytes(const std::vector<std::wstring>& paths);

}  // namespace quorv::e2e
