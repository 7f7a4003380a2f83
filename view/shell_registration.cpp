#include "view/shell_registration.h"

#include "formats/handoff_format.h"

namespace quorv {

const char* ShellExportName(ShellExport which) {
    switch (which) {
    case ShellExport::RegisterServer:
        return "DllRegisterServer";
    case ShellExport::UnregisterServer:
        return "DllUnregisterServer";
    case ShellExport::CanUnloadNow:
        return "DllCanUnloadNow";
    }
    return "";
}

// The codes are shown as the system's printf shows them with %d: as signed
// 32-bit numbers (E_ACCESSDENIED is -2147024891).
std::string UnableToLoadMessage(const std::string& dllPath, std::uint32_t lastError) {
    return "Unable to load " + dllPath + ", Error ID:" + std::to_string(static_cast<std::int32_t>(lastError));
}

std::string RegisterFailedMessage(std::int32_t result) { return "Register failed! Error " + std::to_string(result); }

std::string UnregisterFailedMessage(std::int32_t result) {
    return "Unregister failed! Error " + std::to_string(result);
}

std::string ShellExtensionPath(const std::string& programFolder) {
    return programFolder + kShellExtensionFileName;
}

namespace {

// Loads the extension from the program folder; null (with the message in
// result) when it cannot be loaded.
std::unique_ptr<ShellServerModule> LoadExtension(ShellServerLoader& loader, const std::string& programFolder,
                                                 ShellRegistrationResult& result) {
    const std::string path = ShellExtensionPath(programFolder);
    std::uint32_t error = 0;
    std::unique_ptr<ShellServerModule> module = loader.Load(path, error);
    if (!module) result.messages.push_back(UnableToLoadMessage(path, error));
    return module;
}

}  // namespace

ShellRegistrationResult RegisterShellExtension(ShellServerLoader& loader,
                                               const std::string& programFolder) {
    ShellRegistrationResult result;
    const std::unique_ptr<ShellServerModule> module = LoadExtension(loader, programFolder, result);
    if (!module) return result;
    const std::optional<std::int32_t> hr = module->Call(ShellExport::RegisterServer);
    if (!hr) {
        result.messages.push_back(kRegisterEntryMissingMessage);
    } else if (*hr < 0) {
        result.messages.push_back(RegisterFailedMessage(*hr));
    } else {
        result.succeeded = true;
    }
    return result;
}

ShellRegistrationResult RegisterShellExtensionAtStart(ShellServerLoader& loader, const std::string& programFolder,
                                                      const std::string& registeredPath) {
    const std::string path = ShellExtensionPath(programFolder);
    const auto fold = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    if (!registeredPath.empty() && fold(registeredPath) == fold(path)) {
        ShellRegistrationResult result;
        result.succeeded = true;
        return result;
    }
    return RegisterShellExtension(loader, programFolder);
}

ShellRegistrationResult UnregisterShellExtension(ShellServerLoader& loader,
                                                 const std::string& programFolder) {
    ShellRegistrationResult result;
    const std::unique_ptr<ShellServerModule> module = LoadExtension(loader, programFolder, result);
    if (!module) return result;
    const std::optional<std::int32_t> canUnload = module->Call(ShellExport::CanUnloadNow);
    if (!canUnload) {
        result.messages.push_back(kUnloadEntryMissingMessage);
    } else if (*canUnload != 0) {
        result.messages.push_back(kExtensionInUseMessage);
        return result;
    }
    const std::optional<std::int32_t> hr = module->Call(ShellExport::UnregisterServer);
    if (!hr) {
        result.messages.push_back(kUnregisterEntryMissingMessage);
    } else if (*hr != 0) {
        result.messages.push_back(UnregisterFailedMessage(*hr));
    } else {
        result.succeeded = true;
    }
    return result;
}

ShellMenuBoxOutcome OnShellMenuBoxClicked(ShellServerLoader& loader, const std::string& programFolder,
                                          bool checkedAfterClick) {
    ShellMenuBoxOutcome outcome;
    if (checkedAfterClick) {
        ShellRegistrationResult result = RegisterShellExtension(loader, programFolder);
        outcome.checked = result.succeeded;
        outcome.messages = std::move(result.messages);
    } else {
        ShellRegistrationResult result = UnregisterShellExtension(loader, programFolder);
        outcome.checked = !result.succeeded;
        outcome.messages = std::move(result.messages);
    }
    return outcome;
}

}  // namespace quorv
