#pragma once
// The error log "ErrorLog.txt": failures that are not shown to the user,
// one line each, with a time stamp. The file is emptied before the next
// entry once it has grown beyond 1 MiB.
#include <cstdarg>
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace quorv {

inline constexpr const char* kErrorLogName = "ErrorLog.txt";
// A message holds at most this many bytes; longer ones are cut at the last
// whole character that fits.
inline constexpr std::size_t kErrorLogMessageLimit = 1024;
// A log larger than this is emptied before the next entry.
inline constexpr std::uint64_t kErrorLogSizeLimit = 1048576;

// Formats a message in the manner of printf ("%s", "%d", "%u", "%x", "%c",
// with the "l" size prefix) into a buffer that grows as needed, then cuts it
// to the message limit without splitting a character of the code page.
std::string FormatLogMessageV(const CodePage& codePage, const char* format, va_list args);
std::string FormatLogMessage(const CodePage& codePage, const char* format, ...);

// Cuts text to at most limit bytes, never inside a character.
std::string CutToWholeCharacters(const CodePage& codePage, std::string text, std::size_t limit);

// "[MM/DD/YYYY hh:mm:ss] "
std::string ErrorLogStamp(const LocalTime& time);

// The time stamp, the message and "\r\n".
std::string ErrorLogLine(const LocalTime& time, const std::string& message);

// Appends one entry to folder + "ErrorLog.txt" (folder ends with the
// separator), emptying the file first when it is larger than the limit.
// Every failure loses the entry silently.
void AppendErrorLog(FileSystem& fs, const Clock& clock, const std::string& folder,
                    const std::string& message);

}  // namespace quorv
