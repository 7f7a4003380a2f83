#pragma once
// Creating a folder path one folder at a time, as the folder picker does for
// a typed folder that does not exist yet. Portable: the file system, the
// code page and the error log writer are given.
#include <functional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

// Receives one error-log message (the caller adds the time stamp).
using ErrorLogWriter = std::function<void(const std::string& message)>;

// The prefixes of a path that CreateFolderPath visits, each ending with the
// separator: "C:\\Data\\New" gives "C:\\", "C:\\Data\\", "C:\\Data\\New\\".
// A separator inside a double-byte character is no separator; on Windows a
// '/' counts as '\\' (the prefixes then hold '\\'); a share "\\\\server\\share\\"
// is one prefix, as nothing above a share can be created. Empty for an empty path.
std::vector<std::string> FolderPathStops(const CodePage& codePage, char separator, const std::string& path);

// True when every folder along the path exists afterwards. Walks the stops
// from the left: a stop exists when a search for stop + "*.*" finds any
// entry; a missing one is created. When creating fails (and the folder is
// not there after all: an empty drive root or a folder that cannot be
// listed finds nothing but exists), writes the stop followed by
// " directory create failed." to the log and returns false. An empty path
// gives false.
// failed (when given) receives the stop that could not be created (empty
// when none failed).
bool CreateFolderPath(FileSystem& fs, const CodePage& codePage, const std::string& path,
                      const ErrorLogWriter& log, std::string* failed = nullptr);

// The running program's: the real file system and code page, the error log
// "ErrorLog.txt".
bool CreateFolderPath(const std::string& path, std::string* failed = nullptr);

// The folder picker's status text for a typed folder that could not be
// created, naming the first folder along it that failed.
std::string FolderNotCreatedText(const std::string& failedStop);

// True for a full path the picker can create folders along: a drive letter,
// a colon and a separator ("C:\\x"), or a share ("\\\\server\\share").
// Natively: a path that begins with '/'.
bool IsFullFolderPath(char separator, const std::string& path);

}  // namespace quorv
