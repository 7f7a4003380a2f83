#pragma once
// The main program's side of the context-menu extension: registering and
// unregistering it through the DLL's exports, and what the "ShellMenu" check
// box does when it is clicked. The decisions (which messages, in which
// order, and the box's final state) are made here without a window; the
// window shows each message with ShowMessage, in order, and sets the box.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorv {

// The extension's exports that the main program calls by name.
enum class ShellExport { RegisterServer, UnregisterServer, CanUnloadNow };

// "DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow".
const char* ShellExportName(ShellExport which);

// A loaded extension DLL; unloaded when the object goes.
class ShellServerModule {
public:
    virtual ~ShellServerModule() = default;
    // Calls the export and returns its HRESULT; nothing when the DLL does
    // not export it.
    virtual std::optional<std::int32_t> Call(ShellExport which) = 0;
};

// Loads the extension DLL by its full path.
class ShellServerLoader {
public:
    virtual ~ShellServerLoader() = default;
    // The loaded DLL, or null with lastError set to the system's error code.
    virtual std::unique_ptr<ShellServerModule> Load(const std::string& path,
                                                    std::uint32_t& lastError) = 0;
};

// The messages of registration, exactly as shown.
std::string UnableToLoadMessage(const std::string& dllPath, std::uint32_t lastError);
inline constexpr const char* kRegisterEntryMissingMessage = "Dll register error!";
std::string RegisterFailedMessage(std::int32_t result);
inline constexpr const char* kUnloadEntryMissingMessage = "UnLoad entry point get error!";
inline constexpr const char* kExtensionInUseMessage = "Please close the opened \"Windows Explorer\" first.";
inline constexpr const char* kUnregisterEntryMissingMessage = "Unregister entry point get error!";
std::string UnregisterFailedMessage(std::int32_t result);

// The outcome of registering or unregistering: whether it succeeded and the
// messages to show, in order (each waits for the user's OK).
struct ShellRegistrationResult {
    bool succeeded = false;
    std::vector<std::string> messages;
};

// The extension's path: the program folder (ending with the separator) +
// "QuorvShell.dll".
std::string ShellExtensionPath(const std::string& programFolder);

// Loads the DLL beside the program, calls DllRegisterServer and unloads it.
ShellRegistrationResult RegisterShellExtension(ShellServerLoader& loader,
                                               const std::string& programFolder);

// The registration the program makes at every start while "ShellMenu" is
// checked. When the extension is registered from this very DLL already
// (registeredPath, the class's server path as the registry holds it, names
// it), nothing is called and nothing is shown: a user who may not write the
// machine's registration (a standard user after an administrator ticked the
// box) is not told at every start that it failed. Otherwise as
// RegisterShellExtension.
ShellRegistrationResult RegisterShellExtensionAtStart(ShellServerLoader& loader, const std::string& programFolder,
                                                      const std::string& registeredPath);

// Loads the DLL beside the program; unless DllCanUnloadNow says it is in
// use, calls DllUnregisterServer; unloads it. A missing DllCanUnloadNow is
// reported and unregistration goes on.
ShellRegistrationResult UnregisterShellExtension(ShellServerLoader& loader,
                                                 const std::string& programFolder);

// What a click on the "ShellMenu" box leads to: the messages to show and the
// state the box must end in.
struct ShellMenuBoxOutcome {
    bool checked = false;
    std::vector<std::string> messages;
};

// checkedAfterClick: the box's state after the click. Checked registers,
// clear unregisters. A failed unregistration sets the box back to checked
// (the menu entry is still there); a failed registration clears it again,
// so the box never claims a menu entry that does not exist.
ShellMenuBoxOutcome OnShellMenuBoxClicked(ShellServerLoader& loader, const std::string& programFolder,
                                          bool checkedAfterClick);

}  // namespace quorv
