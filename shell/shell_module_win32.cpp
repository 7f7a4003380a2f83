// The in-process server of QuorvShell.dll: entry point, class factory and
// the exports DllGetClassObject and DllCanUnloadNow (registration lives in
// shell_self_registration_win32.cpp).
#include "shell/shell_module_win32.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <new>

#include "platform/raii_win32.h"
#include "shell/quorvane_shell_win32.h"
#include "shell/shell_ids_win32.h"

namespace quorv::shell {

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;
CRITICAL_SECTION g_typeLibLock;
ITypeInfo* g_typeInfo = nullptr;  // guarded by g_typeLibLock

class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CRITICAL_SECTION& section) noexcept : section_(section) {
        EnterCriticalSection(&section_);
    }
    ~CriticalSectionGuard() { LeaveCriticalSection(&section_); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CRITICAL_SECTION& section_;
};

// Lets go of the cached type information (the module is about to be
// unloaded, or no object needs it any longer).
void ReleaseTypeInfo() noexcept {
    CriticalSectionGuard guard(g_typeLibLock);
    if (g_typeInfo) {
        g_typeInfo->Release();
        g_typeInfo = nullptr;
    }
}

// The class factory: one per DllGetClassObject, holding a lock on the
// module while it lives.
class ClassFactory final : public IClassFactory {
public:
    using CreateFunction = HRESULT (*)(REFIID, void**) noexcept;
    explicit ClassFactory(CreateFunction create) noexcept : create_(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        static const QITAB table[] = {
            QITABENT(ClassFactory, IClassFactory),
            {nullptr, 0},
        };
        return QISearch(this, table, riid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(riid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

private:
    ~ClassFactory() = default;

    LONG refs_ = 1;
    CreateFunction create_;
    ModuleLock lock_;
};

// The classes this module serves.
struct ClassEntry {
    const CLSID* clsid;
    ClassFactory::CreateFunction create;
};
const ClassEntry kClasses[] = {
    {&kClsidQuorvaneShell, &QuorvaneShell::Create},
};

}  // namespace

void LockModule() noexcept { InterlockedIncrement(&g_locks); }
void UnlockModule() noexcept { InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() noexcept { return InterlockedCompareExchange(&g_locks, 0, 0); }

HMODULE ThisModule() noexcept { return g_module; }

std::wstring ModuleFileName(HMODULE module) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        // Cut to fit: try again with more room (paths reach 32767 characters).
        if (buffer.size() >= 65536) return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ThisModuleFolder() {
    std::wstring path = ModuleFileName(g_module);
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash);
    return path;
}

HRESULT GetQuorvaneShellTypeInfo(ITypeInfo** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        CriticalSectionGuard guard(g_typeLibLock);
        if (!g_typeInfo) {
            const std::wstring path = ModuleFileName(g_module);
            if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
            win::ComPtr<ITypeLib> library;
            HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
            if (FAILED(hr)) return hr;
            hr = library->GetTypeInfoOfGuid(kIidQuorvaneShell, &g_typeInfo);
            if (FAILED(hr)) {
                g_typeInfo = nullptr;
                return hr;
            }
        }
        g_typeInfo->AddRef();
        *out = g_typeInfo;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace quorv::shell

using namespace quorv::shell;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        InitializeCriticalSection(&g_typeLibLock);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_typeLibLock);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        for (const ClassEntry& entry : kClasses) {
            if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
            ClassFactory* factory = new (std::nothrow) ClassFactory(entry.create);
            if (!factory) return E_OUTOFMEMORY;
            const HRESULT hr = factory->QueryInterface(riid, out);
            factory->Release();
            return hr;
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

STDAPI DllCanUnloadNow() {
    if (ModuleLockCount() != 0) return S_FALSE;
    // The host unloads the module next: the cached type information goes now,
    // not inside the loader's detach notification.
    ReleaseTypeInfo();
    return S_OK;
}
