// CreateFolderPath on the running system: the real file system and code
// page, failures to the program's error log.
#include "platform/system.h"
#include "tools/error_log.h"
#include "tools/system_access.h"
#include "tools/folder_path.h"

namespace quorv {

bool CreateFolderPath(const std::string& path) {
    return CreateFolderPath(SystemFileSystem(), SystemCodePage(), path, [](const std::string& message) {
        // The message is an argument, never the format: a '%' in a path stays text.
        WriteErrorLog("%s", message.c_str());
    });
}

}  // namespace quorv
