#include "tests/support/registry_win32.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/raii_win32.h"

namespace quorv::test {

namespace {
win::RegKey Open(HKEY root, const std::wstring& key, REGSAM access = KEY_READ) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, access, &raw) != ERROR_SUCCESS) return win::RegKey();
    return win::RegKey(raw);
}
}  // namespace

bool KeyExists(HKEY root, const std::wstring& key) { return static_cast<bool>(Open(root, key)); }

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const wchar_t* name) {
    const win::RegKey k = Open(root, key);
    if (!k) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(k.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(k.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &got) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(got / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

std::set<std::wstring> ValueNames(HKEY root, const std::wstring& key) {
    std::set<std::wstring> names;
    const win::RegKey k = Open(root, key);
    for (DWORD i = 0; k; ++i) {
        wchar_t name[16384];
        DWORD length = 16384;
        if (RegEnumValueW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(std::wstring(name, length));
    }
    return names;
}

std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& key) {
    std::set<std::wstring> names;
    const win::RegKey k = Open(root, key);
    for (DWORD i = 0; k; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(std::wstring(name, length));
    }
    return names;
}

bool WriteString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& data) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    const win::RegKey k(raw);
    return RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool DeleteTree(HKEY root, const std::wstring& key) {
    const LONG error = RegDeleteTreeW(root, key.c_str());
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
}

std::wstring LocalAppData() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path) folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::wstring UserDataFolder() {
    const std::wstring local = LocalAppData();
    return local.empty() ? local : local + L"\\Quorvane 2";
}

namespace {
const wchar_t kInstallKey[] = L"SOFTWARE\\Quorvane 2";
}

InstallFolderValue::InstallFolderValue() {
    keyExisted_ = KeyExists(HKEY_LOCAL_MACHINE, kInstallKey);
    old_ = ReadString(HKEY_LOCAL_MACHINE, kInstallKey, nullptr);
}

InstallFolderValue::~InstallFolderValue() {
    if (!keyExisted_) {
        DeleteTree(HKEY_LOCAL_MACHINE, kInstallKey);
    } else if (old_) {
        WriteString(HKEY_LOCAL_MACHINE, kInstallKey, nullptr, *old_);
    } else {
        Remove();
    }
}

void InstallFolderValue::Set(const std::wstring& folder) { WriteString(HKEY_LOCAL_MACHINE, kInstallKey, nullptr, folder); }

void InstallFolderValue::Remove() {
    const win::RegKey k = Open(HKEY_LOCAL_MACHINE, kInstallKey, KEY_SET_VALUE);
    if (k) RegDeleteValueW(k.get(), nullptr);
}

}  // namespace quorv::test
