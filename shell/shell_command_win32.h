#pragma once
// What the context-menu extension does outside its COM object: reading the
// install folder, taking the selected paths out of file-drop data, writing
// the handoff file and starting the main program.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

namespace quorv::shell {

// The install folder: the default value of HKEY_LOCAL_MACHINE
// "SOFTWARE\\Quorvane 2", read at its real length and taken as stored (no
// backslash added). Empty when the key or value is missing, is not a
// string, or is empty.
std::wstring ReadInstallFolder();

// The folder the handoff file goes into for the program of programFolder
// (without a trailing backslash either way): the folder that program keeps
// its user's files in (formats/data_folder.h). For the installed copy that
// is the user's own folder below the local application data, made when
// missing; for any other copy, and when the user's folder cannot be made
// (the installed program then reads its program folder too), the program
// folder itself.
std::wstring HandoffFolder(const std::wstring& programFolder);

// The handoff text of one selected path. The one place that decides the
// handoff file's encoding: UTF-8, the main program's narrow text, whatever
// the code page of the file manager the extension runs in (a half of a
// surrogate pair that stands alone becomes U+FFFD). The main program reads
// it as every stored text: valid UTF-8 is UTF-8.
std::string HandoffTextOfPath(std::wstring_view path);

// Appends every path of the drop data, each fetched at its real length, to
// the handoff text: path, then "\r\n".
void AppendDropPaths(HDROP drop, std::string& text);

// Writes the handoff text into the file at path. Opened with no sharing,
// retrying for about a second while another process holds it. A file still
// waiting to be read keeps its whole entries in front of the new ones, and
// the file ends right after the new ones (nothing of an earlier write stays
// behind them). False when the file could not be opened or written.
bool WriteHandoffFile(const std::wstring& path, std::string_view text);

// Starts the program at its full path with no arguments (the command line is
// the quoted path), in a normally shown window, without waiting.
bool StartProgram(const std::wstring& path);

// The menu command: writes the selection into the handoff file of the
// program of the install folder (the DLL's own folder when no install folder
// is registered), in the folder HandoffFolder names, and, when that
// succeeded, starts that main program. Reports nothing.
void RunMenuCommand(std::string_view selection);

// The module that shows the menu item's bitmap: the install folder's
// "QuorvShell.dll" when that file is loaded in this process; null
// otherwise (another folder, or no install folder registered).
HMODULE InstallFolderModule();

}  // namespace quorv::shell
