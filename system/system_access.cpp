// The helpers that ask the running system and do not depend on which
// system it is: the install folder, the data folder and the running
// program's error log (the real file system, clock and code page, in the
// data folder).
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

DataFolderChoice<char> FindDataFolder() {
    FileSystem& fs = SystemFileSystem();
    DataFolderFacts<char> facts;
    facts.programFolder = GetProgramFolder();
    facts.installFolder = GetInstallFolder(kProductKeyName);
    facts.localAppData = LocalAppDataFolder();
    facts.separator = fs.Separator();
    const DataFolderChoice<char> choice = ChooseDataFolder(facts, [&fs](const std::string& folder) {
        FileStatus status;
        return fs.CreateFolder(folder) || (fs.GetStatus(folder, status) && status.IsFolder());
    });
    if (choice.kind == DataFolderKind::ProgramAfterFailure) {
        // Straight into the log of the folder taken instead: WriteErrorLog
        // would ask for the data folder again.
        try {
            AppendErrorLog(fs, SystemClock(), choice.folder, DataFolderFailureMessage(choice.userFolder));
        } catch (...) {
            // The log never reports its own failures.
        }
    }
    return choice;
}

std::string DataFolder() {
    static const std::string folder = FindDataFolder().folder;
    return folder;
}

std::string ErrorLogFolder() { return DataFolder(); }

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
