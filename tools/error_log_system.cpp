// The error log of the running program: the real file system, clock and
// code page, and the install or program folder.
#include "tools/error_log.h"
#include "tools/system_helpers.h"

namespace quorv {

std::string ErrorLogFolder() {
    std::string folder = GetInstallFolder(kProductKeyName);
    if (folder.empty()) folder = GetProgramFolder();
    return folder;
}

void WriteErrorLog(const char* format, ...) {
    std::string message;
    va_list args;
    va_start(args, format);
    try {
        message = FormatLogMessageV(SystemCodePage(), format, args);
    } catch (...) {
        message.clear();
    }
    va_end(args);
    try {
        AppendErrorLog(SystemFileSystem(), SystemClock(), ErrorLogFolder(), message);
    } catch (...) {
        // The log never reports its own failures.
    }
}

}  // namespace quorv
