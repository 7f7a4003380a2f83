// The helpers that ask the running system and do not depend on which
// system it is: the install folder and the running program's error log
// (the real file system, clock and code page, in the install or program
// folder).
#include "formats/error_log.h"
#include "system/system.h"
#include "system/system_access.h"

namespace quorv {

std::string GetInstallFolder(const std::string& productKeyName) {
    std::string data;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const long error =
        RegReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\" + productKeyName, "", data, type, size);
    if (error != kRegErrorSuccess || type != kRegSz || data.empty()) return std::string();
    return data + SystemFileSystem().Separator();
}

std::string ErrorLogFolder() {
    std::string folder = GetInstallFolder(kProductKeyName);
    if (folder.empty()) folder = GetProgramFolder();
    return folder;
}

void WriteErrorLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    try {
        const std::string message = FormatLogMessageV(SystemCodePage(), format, args);
        AppendErrorLog(SystemFileSystem(), SystemClock(), ErrorLogFolder(), message);
    } catch (...) {
        // The log never reports its own failures.
    }
    va_end(args);
}

}  // namespace quorv
