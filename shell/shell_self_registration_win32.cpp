// Self-registration of QuorvShell.dll: the exports DllRegisterServer and
// DllUnregisterServer. The registry entries are one table, walked forwards
// to register and backwards to unregister, so the two can never disagree.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <string>

#include "platform/raii_win32.h"
#include "shell/shell_ids_win32.h"
#include "shell/shell_module_win32.h"

namespace quorv::shell {

namespace {

// What unregistration does with a key, and what registration does with it
// first.
enum class Marker {
    Plain,     // written at registration, removed at unregistration
    Kept,      // created when missing, never removed
    Replaced,  // removed with everything below it before it is written again
};

// The AppID group is written first and removed last; the class group holds
// the class, its ProgIDs and the file manager's handler entry.
enum class Group { AppId, Class };

// One key of the table under HKEY_CLASSES_ROOT. Null pointers are absent
// values; kModulePath in a value stands for the DLL's full path.
struct Row {
    Group group;
    const wchar_t* key;
    const wchar_t* defaultValue;
    const wchar_t* valueName;
    const wchar_t* valueData;
    Marker marker;
};

constexpr const wchar_t kModulePath[] = L"%MODULE%";

#define CLSID_KEY L"CLSID\\" QUORV_SHELL_CLSID_KEY

const Row kTable[] = {
    {Group::AppId, L"AppID", nullptr, nullptr, nullptr, Marker::Kept},
    {Group::AppId, L"AppID\\" QUORV_SHELL_APPID_KEY, L"QuorvShell", nullptr, nullptr, Marker::Plain},
    {Group::AppId, L"AppID\\QuorvShell.DLL", nullptr, L"AppID", QUORV_SHELL_APPID_KEY, Marker::Plain},
    {Group::Class, L"QuorvShell.QuorvaneShell.1", L"QuorvaneShell Class", nullptr, nullptr, Marker::Plain},
    {Group::Class, L"QuorvShell.QuorvaneShell.1\\CLSID", QUORV_SHELL_CLSID_KEY, nullptr, nullptr, Marker::Plain},
    {Group::Class, L"QuorvShell.QuorvaneShell", L"QuorvaneShell Class", nullptr, nullptr, Marker::Plain},
    {Group::Class, L"QuorvShell.QuorvaneShell\\CLSID", QUORV_SHELL_CLSID_KEY, nullptr, nullptr, Marker::Plain},
    {Group::Class, L"QuorvShell.QuorvaneShell\\CurVer", L"QuorvShell.QuorvaneShell.1", nullptr, nullptr, Marker::Plain},
    {Group::Class, L"CLSID", nullptr, nullptr, nullptr, Marker::Kept},
    {Group::Class, CLSID_KEY, L"QuorvaneShell Class", L"AppID", QUORV_SHELL_APPID_KEY, Marker::Replaced},
    {Group::Class, CLSID_KEY L"\\ProgID", L"QuorvShell.QuorvaneShell.1", nullptr, nullptr, Marker::Plain},
    {Group::Class, CLSID_KEY L"\\VersionIndependentProgID", L"QuorvShell.QuorvaneShell", nullptr, nullptr, Marker::Plain},
    {Group::Class, CLSID_KEY L"\\Programmable", nullptr, nullptr, nullptr, Marker::Replaced},
    {Group::Class, CLSID_KEY L"\\InprocServer32", kModulePath, L"ThreadingModel", L"Apartment", Marker::Plain},
    {Group::Class, CLSID_KEY L"\\TypeLib", QUORV_SHELL_LIBID_KEY, nullptr, nullptr, Marker::Plain},
    {Group::Class, L"*", nullptr, nullptr, nullptr, Marker::Kept},
    {Group::Class, L"*\\shellex", nullptr, nullptr, nullptr, Marker::Kept},
    {Group::Class, L"*\\shellex\\ContextMenuHandlers", nullptr, nullptr, nullptr, Marker::Kept},
    {Group::Class, L"*\\shellex\\ContextMenuHandlers\\Quorvane Shell", QUORV_SHELL_CLSID_KEY, nullptr, nullptr, Marker::Replaced},
};

#undef CLSID_KEY

bool Found(LONG error) { return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND; }

LONG SetString(HKEY key, const wchar_t* name, const wchar_t* data, const std::wstring& modulePath) {
    const wchar_t* text = std::wcscmp(data, kModulePath) == 0 ? modulePath.c_str() : data;
    const DWORD bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

HRESULT WriteGroup(Group group, const std::wstring& modulePath) {
    for (const Row& row : kTable) {
        if (row.group != group) continue;
        if (row.marker == Marker::Replaced) {
            const LONG error = RegDeleteTreeW(HKEY_CLASSES_ROOT, row.key);
            if (error != ERROR_SUCCESS && Found(error)) return HRESULT_FROM_WIN32(error);
        }
        HKEY raw = nullptr;
        LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, row.key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &raw, nullptr);
        if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
        const win::RegKey key(raw);
        if (row.defaultValue) {
            error = SetString(key.get(), nullptr, row.defaultValue, modulePath);
            if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
        }
        if (row.valueName) {
            error = SetString(key.get(), row.valueName, row.valueData, modulePath);
            if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
        }
    }
    return S_OK;
}

// Removes the group's keys that are not kept, deepest first, each with
// everything below it. Keys already gone are no failure.
HRESULT RemoveGroup(Group group) {
    for (std::size_t i = sizeof(kTable) / sizeof(kTable[0]); i-- > 0;) {
        const Row& row = kTable[i];
        if (row.group != group || row.marker == Marker::Kept) continue;
        const LONG error = RegDeleteTreeW(HKEY_CLASSES_ROOT, row.key);
        if (error != ERROR_SUCCESS && Found(error)) return HRESULT_FROM_WIN32(error);
    }
    return S_OK;
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
    win::ComPtr<ITypeLib> library;
    const HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    std::wstring path = modulePath;  // the system's declaration takes a non-const text
    return RegisterTypeLib(library.get(), &path[0], nullptr);
}

// Unregisters the DLL's type library; one that is not registered is no
// failure (unregistering twice succeeds, as for the table).
HRESULT UnregisterTypeLibrary(const std::wstring& modulePath) {
    win::ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);

    BSTR registeredPath = nullptr;
    if (FAILED(QueryPathOfRegTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                                     &registeredPath)))
        return S_OK;
    SysFreeString(registeredPath);
    return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

}  // namespace

}  // namespace quorv::shell

using namespace quorv::shell;

STDAPI DllRegisterServer() {
    try {
        const std::wstring modulePath = ModuleFileName(ThisModule());
        if (modulePath.empty()) return SELFREG_E_CLASS;
        HRESULT hr = WriteGroup(Group::AppId, modulePath);
        if (FAILED(hr)) return hr;
        hr = WriteGroup(Group::Class, modulePath);
        if (FAILED(hr)) return hr;
        return RegisterTypeLibrary(modulePath);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDAPI DllUnregisterServer() {
    try {
        const std::wstring modulePath = ModuleFileName(ThisModule());
        if (modulePath.empty()) return SELFREG_E_CLASS;
        HRESULT hr = RemoveGroup(Group::Class);
        if (SUCCEEDED(hr)) hr = UnregisterTypeLibrary(modulePath);
        if (FAILED(hr)) return hr;
        return RemoveGroup(Group::AppId);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
