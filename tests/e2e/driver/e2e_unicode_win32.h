#pragma once
// Names in any script and paths of any length for the end-to-end cases:
// the driver's own narrow text is the system's ANSI code page, which holds
// neither, so these helpers speak UTF-16 to the file system and to the
// program's windows, and UTF-8 to the program's files (its narrow text).
// The wide file functions (any script, any length) are the test support
// library's: Exists, MakeFolders, WriteBytes, ReadBytes, NamesIn.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/e2e_files_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {

using test::FromUtf8;
using test::Utf8;

// A window's whole text (WM_GETTEXT in UTF-16).
std::wstring WideText(const Window& window);
// The entries of a list box (LB_GETTEXT in UTF-16).
std::vector<std::wstring> WideItems(const Window& list);

// The handoff file's bytes for these paths: UTF-8, each followed by CR LF.
std::string Utf8HandoffBytes(const std::vector<std::wstring>& paths);

}  // namespace quorv::e2e
