#include "platform/system_helpers.h"

namespace quorv {

RegistryRoot ParseRegistryPath(std::string& path) {
    static const struct {
        const char* name;
        RegistryRoot root;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {"HKEY_USERS", RegistryRoot::Users},
        {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    };
    const std::size_t slash = path.find('\\');
    const std::string name = slash == std::string::npos ? path : path.substr(0, slash);
    path = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    for (const auto& entry : kRoots) {
        if (name == entry.name) return entry.root;
    }
    return RegistryRoot::None;
}

bool FileExists(FileSystem& fs, const std::string& path) {
    if (path.empty()) return false;
    return fs.Exists(path);
}

}  // namespace quorv
