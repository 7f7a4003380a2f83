// Stand-in for QuorvShell.dll while the extension is not part of the build,
// so that the setup test can run its whole course: a minimal in-process
// context-menu handler. It registers the class and the handler entry
// "Quorvane Shell", and adds one item "&Batch Rename files..." with a
// separator above it, which carries a bitmap when the DLL was loaded from the
// install folder that the registry names. The item does nothing.
#include <windows.h>
#include <olectl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <new>
#include <string>

#include "platform/raii_win32.h"

namespace {

// {5C0DA11E-57A2-4D0E-9E7B-0F1E2D3C4B5A}
const CLSID kClsid = {0x5c0da11e, 0x57a2, 0x4d0e, {0x9e, 0x7b, 0x0f, 0x1e, 0x2d, 0x3c, 0x4b, 0x5a}};
const char kClassKey[] = "CLSID\\{5C0DA11E-57A2-4D0E-9E7B-0F1E2D3C4B5A}";
const char kClsidText[] = "{5C0DA11E-57A2-4D0E-9E7B-0F1E2D3C4B5A}";
const char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Quorvane Shell";

HMODULE g_module = nullptr;
LONG g_locks = 0;

std::string ModulePath() {
    std::string path(MAX_PATH, '\0');
    const DWORD n = GetModuleFileNameA(g_module, &path[0], MAX_PATH);
    path.resize(n < MAX_PATH ? n : 0);
    return path;
}

std::string InstallFolder() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorvane 2", 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
    quorv::win::RegKey key(raw);
    char buf[MAX_PATH] = {};
    DWORD size = sizeof buf - 1, type = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return buf;
}

class Handler final : public IShellExtInit, public IContextMenu {
public:
    Handler() { InterlockedIncrement(&g_locks); }
    ~Handler() { InterlockedDecrement(&g_locks); }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
            *out = static_cast<IShellExtInit*>(this);
        } else if (IsEqualIID(iid, IID_IContextMenu)) {
            *out = static_cast<IContextMenu*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject*, HKEY) override { return S_OK; }

    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT first, UINT, UINT flags) override {
        if (flags & CMF_DEFAULTONLY) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
        InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, first, "&Batch Rename files...");
        InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        const std::string folder = InstallFolder();
        if (!folder.empty() && GetModuleHandleA((folder + "\\QuorvShell.dll").c_str()) == g_module) {
            DWORD pixels[16 * 16];
            for (DWORD& p : pixels) p = 0x00FAC864;
            bitmap_.reset(CreateBitmap(16, 16, 1, 32, pixels));
            SetMenuItemBitmaps(menu, first, MF_BYCOMMAND, bitmap_.get(), bitmap_.get());
        }
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
    }
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO*) override { return S_OK; }
    STDMETHODIMP GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_INVALIDARG; }

private:
    LONG refs_ = 1;
    quorv::win::Bitmap bitmap_;
};

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        Handler* h = new (std::nothrow) Handler;
        if (h == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = h->QueryInterface(iid, out);
        h->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) InterlockedIncrement(&g_locks);
        else InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

Factory g_factory;

LONG SetValue(const std::string& key, const char* name, const std::string& value) {
    HKEY raw = nullptr;
    LONG r = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
    if (r != ERROR_SUCCESS) return r;
    quorv::win::RegKey k(raw);
    return RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

HRESULT __stdcall DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

HRESULT __stdcall DllRegisterServer() {
    try {
        const std::string path = ModulePath();
        if (path.empty()) return E_FAIL;
        const std::string server = std::string(kClassKey) + "\\InprocServer32";
        if (SetValue(kClassKey, nullptr, "Quorvane 2 stand-in extension") != ERROR_SUCCESS ||
            SetValue(server, nullptr, path) != ERROR_SUCCESS ||
            SetValue(server, "ThreadingModel", "Apartment") != ERROR_SUCCESS ||
            SetValue(kHandlerKey, nullptr, kClsidText) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT __stdcall DllUnregisterServer() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kHandlerKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kHandlerKey);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
    return S_OK;
}

}  // extern "C"
