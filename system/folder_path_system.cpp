// CreateFolderPath on the running system: the real file system and code
// page, failures to the program's error log.
#include "batch/folder_path.h"
#include "formats/error_log.h"
#include "system/system.h"
#include "system/system_access.h"

namespace quorv {

bool CreateFolderPath(const std::string& path, std::string* failed) {
    return CreateFolderPath(
        SystemFileSystem(), SystemCodePage(), path,
        [](const std::string& message) {
            // The message is an argument, never the format: a '%' in a path stays text.
            WriteErrorLog("%s", message.c_str());
        },
        failed);
}

}  // namespace quorv
