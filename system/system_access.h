#pragma once
// The helpers that ask the running system, defined by the platform
// library: reading a registry value named by a full key path, where the
// program, its installation and the user's own files live, the running
// program's error log, and where libraries are loaded from. The core never
// calls these.
#include <cstdint>
#include <string>

#include "formats/data_folder.h"
#include "platform/system_helpers.h"

namespace quorv {

// Registry value types, with the numbers Windows gives them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// Registry error codes used by the helpers (Windows numbers).
inline constexpr long kRegErrorSuccess = 0;
inline constexpr long kRegErrorFileNotFound = 2;
inline constexpr long kRegUnknownRoot = -1;

// Reads a registry value. data receives the value's bytes; a REG_SZ value is
// cut at its first zero byte. type receives the value type and size the
// number of bytes the registry held. Returns the system's registry error
// code (0 for success), or -1 when the root name is unknown. Outside
// Windows there is no registry: every known root gives "file not found".
long RegReadValue(const std::string& keyPath, const std::string& valueName, std::string& data,
                  std::uint32_t& type, std::uint32_t& size);

// The folder of the running executable, ending with the separator; any
// length (no fixed-size buffer). Empty when it cannot be found.
std::string GetProgramFolder();

// The default value of HKEY_LOCAL_MACHINE "SOFTWARE\\" + name followed by
// the separator; empty when the key or value is missing or empty.
std::string GetInstallFolder(const std::string& productKeyName);

// The user's local application data folder (FOLDERID_LocalAppData), as
// the system names it, without a trailing separator; empty when the system
// does not say (and outside Windows, where there is no installed copy).
std::string LocalAppDataFolder();

// Decides the data folder afresh (formats/data_folder.h): the program
// folder, the registry's install folder and the user's local application
// data, and the user's folder created when missing. When the installed copy
// cannot have its user's folder, the error log in the program folder says
// so. The program asks DataFolder() instead.
DataFolderChoice<char> FindDataFolder();

// The data folder of this run, ending with the separator: the user's own
// folder ("%LOCALAPPDATA%\Quorvane 2") for the installed copy, the
// program folder for any other. Every reader and writer of the settings
// file, the handoff file, the error log and the user's favourites asks this.
// Decided at the first call and kept for the run, as the program folder is.
std::string DataFolder();

// The folder of the error log: the data folder.
std::string ErrorLogFolder();

// Makes the process load libraries it names without a path from the
// system folder only (SetDefaultDllDirectories with
// LOAD_LIBRARY_SEARCH_SYSTEM32), never from the program folder, the current
// folder or PATH. Called first thing by Quorv2.exe and quorv.exe. Where
// the system lacks the call (Windows 7 without its loader update) the
// current folder at least leaves the search. Nothing outside Windows.
void LoadLibrariesFromTheSystemOnly();

// Formats a message and appends it to the error log of the running program
// (the real file system, clock and code page). Never reports a failure.
void WriteErrorLog(const char* format, ...);

}  // namespace quorv
