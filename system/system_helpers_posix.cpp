// The native halves of the system helpers: the executable's folder from
// /proc/self/exe, no registry, no local application data (so no installed
// copy), and a loader that needs no restraint.
#include "system/system_access.h"

#include <unistd.h>

#include <vector>

namespace quorv {

long RegReadValue(const std::string& keyPath, const std::string& valueName, std::string& data,
                  std::uint32_t& type, std::uint32_t& size) {
    data.clear();
    type = kRegNone;
    size = 0;
    std::string rest = keyPath;
    if (ParseRegistryPath(rest) == RegistryRoot::None) return kRegUnknownRoot;
    return kRegErrorFileNotFound;
}

std::string GetProgramFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(n));
            const std::size_t slash = path.rfind('/');
            return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        }
        // The link may have been cut: try again with room to spare.
        if (buffer.size() >= (1u << 20)) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string LocalAppDataFolder() { return std::string(); }

void LoadLibrariesFromTheSystemOnly() {}

}  // namespace quorv
