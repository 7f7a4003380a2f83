#pragma once
// The context-menu extension end to end: its menu item chosen for files as
// the file manager chooses it (the DLL loaded by path, file-drop data,
// Initialize, QueryContextMenu, InvokeCommand), and the main window that the
// extension starts, found among the running programs by its executable.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {

// Chooses "&Batch Rename files..." of the extension at dllPath for these
// files (command offset 0). False when a step of the contract failed.
bool ChooseMenuItem(const std::wstring& dllPath, const std::vector<std::wstring>& files);

// A Quorv2.exe that someone else started (the extension): its main window,
// found by the full path of its executable. A program still running when
// the object goes is killed.
class StartedProgram {
public:
    // Waits until a main window of a process running this executable is
    // there (running() tells whether one came in time).
    StartedProgram(const std::wstring& executable, int timeoutMs = 30000);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool running() const;
    const Window& main() const { return main_; }
    Window Control(int id) const { return main_.Child(id); }
    // Escape and "&Yes"; true when the program ended.
    bool Close();
    void Kill();

private:
    HANDLE process_ = nullptr;
    Window main_;
};

}  // namespace quorv::e2e
