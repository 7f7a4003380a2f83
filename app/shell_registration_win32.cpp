#include "app/shell_registration_win32.h"

#include <windows.h>

#include "platform/raii_win32.h"
#include "shell/shell_ids_win32.h"
#include "system/system_access.h"

namespace quorv {

namespace {

class Win32ShellServerModule final : public ShellServerModule {
public:
    explicit Win32ShellServerModule(win::ModuleHandle module) : module_(std::move(module)) {}

    std::optional<std::int32_t> Call(ShellExport which) override {
        const FARPROC address = GetProcAddress(module_.get(), ShellExportName(which));
        if (!address) return std::nullopt;
        // Every export called here takes no argument and returns an HRESULT.
        using Export = HRESULT(STDAPICALLTYPE*)();
        const auto function = reinterpret_cast<Export>(reinterpret_cast<void (*)()>(address));
        return static_cast<std::int32_t>(function());
    }

private:
    win::ModuleHandle module_;
};

}  // namespace

std::unique_ptr<ShellServerModule> Win32ShellServerLoader::Load(const std::string& path,
                                                                std::uint32_t& lastError) {
    win::ModuleHandle module(LoadLibraryA(path.c_str()));
    if (!module) {
        lastError = GetLastError();
        return nullptr;
    }
    lastError = 0;
    return std::make_unique<Win32ShellServerModule>(std::move(module));
}

ShellRegistrationResult RegisterShellExtensionAtStart() {
    std::string registered;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (RegReadValue("HKEY_CLASSES_ROOT\\CLSID\\{" QUORV_SHELL_CLSID_TEXT "}\\InprocServer32", "", registered, type,
                     size) != kRegErrorSuccess ||
        type != kRegSz) {
        registered.clear();
    }
    Win32ShellServerLoader loader;
    return RegisterShellExtensionAtStart(loader, GetProgramFolder(), registered);
}

ShellMenuBoxOutcome OnShellMenuBoxClicked(bool checkedAfterClick) {
    Win32ShellServerLoader loader;
    return OnShellMenuBoxClicked(loader, GetProgramFolder(), checkedAfterClick);
}

}  // namespace quorv
