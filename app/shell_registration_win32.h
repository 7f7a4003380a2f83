#pragma once
// Registration of the context-menu extension from the main program: the DLL
// "QuorvShell.dll" beside the executable, loaded by its full path, its
// exports called by name. The main window uses these three and only shows
// the messages (ShowMessage, in order) and sets the "ShellMenu" box:
//
//   start-up, box checked:  for (m : RegisterShellExtension().messages) ShowMessage(m, theme);
//   box clicked:            auto o = OnShellMenuBoxClicked(IsChecked(box));
//                           for (m : o.messages) ShowMessage(m, theme); SetChecked(box, o.checked);
#include <cstdint>
#include <memory>
#include <string>

#include "view/shell_registration.h"

namespace quorv {

// The system's loader: LoadLibraryA by full path, GetProcAddress by name,
// FreeLibrary when the module goes.
class Win32ShellServerLoader final : public ShellServerLoader {
public:
    std::unique_ptr<ShellServerModule> Load(const std::string& path, std::uint32_t& lastError) override;
};

// The same operations for the running program's own folder (GetProgramFolder).
ShellRegistrationResult RegisterShellExtension();
// At start-up: nothing when this program's DLL is registered already.
ShellRegistrationResult RegisterShellExtensionAtStart();
ShellRegistrationResult UnregisterShellExtension();
ShellMenuBoxOutcome OnShellMenuBoxClicked(bool checkedAfterClick);

}  // namespace quorv
