// The Windows halves of the system helpers: the registry and the module path.
// Registry names and values go through the narrow functions: the system
// converts them into the program's narrow text (UTF-8 under the manifest).
#include "system/system_access.h"

#include <windows.h>

#include <vector>

#include "platform/raii_win32.h"
#include "system/text_win32.h"

namespace quorv {

namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::None:
        break;
    }
    return nullptr;
}

}  // namespace

long RegReadValue(const std::string& keyPath, const std::string& valueName, std::string& data,
                  std::uint32_t& type, std::uint32_t& size) {
    data.clear();
    type = kRegNone;
    size = 0;
    std::string subKey = keyPath;
    const HKEY root = RootKey(ParseRegistryPath(subKey));
    if (!root) return kRegUnknownRoot;

    HKEY opened = nullptr;
    LONG error = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &opened);
    if (error != ERROR_SUCCESS) return error;
    const win::RegKey key(opened);

    // The value may change between asking for its size and reading it:
    // ask again a few times rather than read into a buffer that is too small.
    std::vector<BYTE> buffer;
    DWORD valueType = REG_NONE;
    DWORD valueSize = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        error = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &valueType, nullptr,
                                 &valueSize);
        if (error != ERROR_SUCCESS) return error;
        buffer.assign(valueSize == 0 ? 1 : valueSize, 0);
        DWORD got = valueSize;
        error = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &valueType, buffer.data(),
                                 &got);
        if (error == ERROR_MORE_DATA) continue;
        if (error != ERROR_SUCCESS) return error;
        valueSize = got <= buffer.size() ? got : static_cast<DWORD>(buffer.size());
        break;
    }
    if (error != ERROR_SUCCESS) return error;

    type = valueType;
    size = valueSize;
    data.assign(reinterpret_cast<const char*>(buffer.data()), valueSize);
    if (valueType == REG_SZ) {
        const std::size_t zero = data.find('\0');
        if (zero != std::string::npos) data.resize(zero);
    }
    return ERROR_SUCCESS;
}

std::string GetProgramFolder() {
    // Asked in UTF-16 at its real length (a path reaches 32767 characters),
    // then converted once into the program's narrow text.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        // The path was cut to fit: grow until it fits.
        if (path.size() >= 65536) return std::string();
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::string();
    path.resize(slash + 1);
    return win::NarrowFromWide(path);
}

}  // namespace quorv
