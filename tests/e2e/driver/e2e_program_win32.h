#pragma once
// The program under test: a fresh program folder with a copy of the built
// Quorv2.exe, and the running program with its main window.
//
//   ProgramFolder folder("first-start");            // a new folder on drive C:
//   folder.WriteSettings(SettingsRecord{});         // optional: Quorv.cfg, Quorv2.qv2, favourites
//   Program program(folder);                        // starts it, finds its window, waits until idle
//   ASSERT_TRUE(program.running());
//   program.Click(IDC_PREVIEW);                     // a button, as a click; returns once idle again
//   MessageView message = program.WaitForMessage();
//   message.Press("&OK");
//   program.Close();                                // Escape, then "&Yes"
//
// A program still running when its Program object goes is killed, so a
// failing case never leaves a window behind.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver/e2e_files_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"
#include "tests/support/temp_dir.h"

namespace quorv::e2e {

// The files the build made (Windows paths).
struct BuildOutputs {
    std::string program;         // Quorv2.exe
    std::string shellExtension;  // QuorvShell.dll
    std::string favourites;      // the folder "favorite" beside Quorv2.exe
    std::string commandLine;     // quorv.exe
};
const BuildOutputs& Build();

struct ProgramParts {
    bool shellExtension = false;  // copy QuorvShell.dll beside the program
    bool favourites = false;      // copy the build's favourite rule files
};

class ProgramFolder {
public:
    // A new folder on drive C: (the folder browser shows it) holding a copy
    // of Quorv2.exe and the parts asked for; removed with everything in it
    // at the end.
    explicit ProgramFolder(const std::string& label, ProgramParts parts = {});

    bool ok() const { return ok_; }
    // The folder, ending with a backslash.
    const std::string& path() const { return path_; }
    // path() + relative.
    std::string At(const std::string& relative) const { return path_ + relative; }
    std::string ProgramPath() const { return At("Quorv2.exe"); }
    std::string SettingsPath() const { return At("Quorv.cfg"); }
    std::string HandoffPath() const { return At("Quorv2.qv2"); }

    bool WriteSettings(const SettingsRecord& settings) const;
    bool WriteHandoff(const std::vector<std::string>& paths) const;
    // favorite\<title>.qvr with these rule lines (the folder is made when missing).
    bool WriteFavourite(const std::string& title, const std::vector<std::string>& rules) const;
    // A folder below this one (with its parents); its full path without a
    // trailing backslash.
    std::string MakeFolder(const std::string& relative) const;
    // A file below this one with these bytes; its full path.
    std::string MakeFile(const std::string& relative, const std::string& bytes = "e2e") const;

private:
    test::TempDir folder_;
    std::string path_;
    bool ok_ = false;
};

struct MemoryFigures {
    SIZE_T workingSet = 0;
    SIZE_T peakWorkingSet = 0;
    SIZE_T privateBytes = 0;
};

class Program {
public:
    // Starts the program of the folder and waits until its main window is
    // there and idle (running() tells whether it came up in time).
    explicit Program(const ProgramFolder& folder, int timeoutMs = 30000);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool running() const;
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_; }
    const Window& main() const { return main_; }
    Window Control(int id) const { return main_.Child(id); }
    // Seconds from the start until the window was idle the first time.
    double startSeconds() const { return startSeconds_; }

    // ---- waiting
    // The window's thread takes posted messages again: the command that
    // was running has ended (or opened a window with a message loop of its
    // own, a message or a menu). A command that only answers sent messages
    // meanwhile (the end of a run does) is still running.
    bool WaitIdle(int timeoutMs = kCommandTimeout) const;
    // Idle three times over, so that key and mouse input given before and
    // messages posted by the last command (a check box posts its click)
    // have been handled too; then painted.
    bool Settle(int timeoutMs = kCommandTimeout) const;
    // Nothing of the main window waits to be painted (false when it still
    // does after the time: a window that never validates itself).
    bool WaitPainted(int timeoutMs = 3000) const;

    // ---- commands as the user gives them
    // Clicks a control of the main window (BM_CLICK) and waits until idle.
    bool Click(int id) const;
    // Clicks the middle of a control with the mouse and lets the window settle.
    bool MouseClick(int id, unsigned modifiers = kNoModifier) const;
    // Gives a control the focus (the window becomes the foreground window).
    bool Focus(int id) const;
    // Makes one of the program's windows the foreground window unless one
    // is (keys go to the foreground window's thread).
    bool EnsureForeground() const;
    // Presses a key (with modifiers) in the program's foreground window and
    // settles.
    bool PressKey(WORD virtualKey, unsigned modifiers = kNoModifier) const;
    // Replaces the filter box's text by typing it and settles.
    bool TypeInto(int id, const std::string& text) const;
    // Selects entries of a list and settles.
    bool SelectItems(int id, const std::vector<int>& items, int caret = -1) const;
    bool ChooseItem(int id, int index) const;

    // ---- reading the window
    std::string Text(int id) const { return Control(id).Text(); }
    std::string Status() const;      // the status line
    std::string ResultText() const;  // the result list's whole text
    bool Checked(int id) const { return Control(id).Checked(); }
    bool Enabled(int id) const { return Control(id).Enabled(); }
    std::vector<std::string> Items(int id) const { return Control(id).Items(); }
    std::vector<int> Selection(int id) const { return Control(id).Selection(); }
    bool Maximized() const;
    Window Focused() const;

    // ---- other windows of the program
    std::vector<Window> TopWindows() const { return TopWindowsOf(processId_); }
    // The first visible top-level window of the program that satisfies the
    // condition (the main window never does); empty when none came in time.
    Window WaitForWindow(const std::function<bool(const Window&)>& which, int timeoutMs = kAnswerTimeout) const;
    // A window with this caption other than the main window.
    Window WaitForWindowTitled(const std::string& caption, int timeoutMs = kAnswerTimeout) const;
    // A message window (the program's own or the system's message box).
    MessageView WaitForMessage(int timeoutMs = kAnswerTimeout) const;
    FileDialog WaitForFileDialog(int timeoutMs = kAnswerTimeout) const;
    FolderBrowser WaitForFolderBrowser(int timeoutMs = kAnswerTimeout) const;
    // The popup menu that is open (class #32768).
    Window WaitForMenu(int timeoutMs = kAnswerTimeout) const;
    // Whether a window other than the main window is open.
    bool OtherWindowOpen() const;

    // ---- ending
    // Escape, then the answer to the exit question ("&Yes" or "&No").
    bool Close(bool yes = true);
    bool WaitForExit(int timeoutMs = kAnswerTimeout) const;
    bool Exited() const;
    DWORD ExitCode() const;
    void Kill();

    MemoryFigures Memory() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    Window main_;
    double startSeconds_ = 0;
};

}  // namespace quorv::e2e
