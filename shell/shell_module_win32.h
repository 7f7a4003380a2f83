#pragma once
// Module-wide state of the context-menu extension QuorvShell.dll: the lock
// count that DllCanUnloadNow answers from, the module's own handle and path,
// and the type library read from the DLL's own file.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace quorv::shell {

// The lock count: one per live object (class factories included) and one
// per LockServer(TRUE). Changed with interlocked operations only.
void LockModule() noexcept;
void UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

// One lock on the module for the lifetime of the owning object.
class ModuleLock {
public:
    ModuleLock() noexcept { LockModule(); }
    ~ModuleLock() { UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

// The DLL's own module handle (set when the process attaches it).
HMODULE ThisModule() noexcept;

// The full path of a loaded module, at any length; empty on failure.
std::wstring ModuleFileName(HMODULE module);

// The folder of this DLL, without a trailing backslash; empty on failure.
std::wstring ThisModuleFolder();

// The type information of IQuorvaneShell from the type library stored in
// this DLL (resource TYPELIB 1). Loaded from the DLL's own file on first use,
// under a module-wide critical section, then kept until the module reports
// that it can be unloaded. The caller receives its own reference.
HRESULT GetQuorvaneShellTypeInfo(ITypeInfo** out) noexcept;

}  // namespace quorv::shell
