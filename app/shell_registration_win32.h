#pragma once
// Registration of the context-menu extension from the main program: the DLL
// "QuorvShell.dll" beside the executable, loaded by its full path, its
// exports called by name. The decisions are the portable ones of
// view/shell_registration.h; this file gives them the system's loader and
// the running program's folder. The main window shows the messages of each
// outcome (ShowMessage, in order) and keeps the "ShellMenu" setting, which
// its box mirrors:
//
//   start-up, setting on:  for (m : RegisterShellExtensionAtStart().messages) ShowMessage(m, theme);
//   box clicked:           auto o = OnShellMenuBoxClicked(checkedAfterClick);
//                          for (m : o.messages) ShowMessage(m, theme); setting = o.checked;
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

// The operations for the running program's own folder (GetProgramFolder).
// At start-up: nothing when this program's DLL is registered already.
ShellRegistrationResult RegisterShellExtensionAtStart();
ShellMenuBoxOutcome OnShellMenuBoxClicked(bool checkedAfterClick);

}  // namespace quorv
