#include "tests/e2e/driver/e2e_program_win32.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>

#include "app/resource.h"

namespace quorv::e2e {

const BuildOutputs& Build() {
    static const BuildOutputs outputs{
        HostToWindowsPath(QUORV_E2E_PROGRAM),
        HostToWindowsPath(QUORV_E2E_SHELL_EXTENSION),
        HostToWindowsPath(QUORV_E2E_FAVOURITES),
        HostToWindowsPath(QUORV_E2E_COMMAND_LINE),
    };
    return outputs;
}

// ---------------------------------------------------------------- the folder

namespace {

bool CopyFolderFiles(const std::string& from, const std::string& to) {
    if (!MakeFolders(to)) return false;
    bool ok = true;
    for (const std::string& name : NamesIn(from)) {
        if (IsFolder(from + "\\" + name)) continue;
        ok = ::CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && ok;
    }
    return ok;
}

}  // namespace

ProgramFolder::ProgramFolder(const std::string& label, ProgramParts parts)
    : folder_("quorv-e2e-" + label, test::SystemDriveRoot()), path_(folder_.path() + "\\") {
    ok_ = ::CopyFileA(Build().program.c_str(), ProgramPath().c_str(), FALSE);
    if (parts.shellExtension) ok_ = ok_ && ::CopyFileA(Build().shellExtension.c_str(), At("QuorvShell.dll").c_str(), FALSE);
    if (parts.favourites) ok_ = ok_ && CopyFolderFiles(Build().favourites, At("favorite"));
}

bool ProgramFolder::WriteSettings(const SettingsRecord& settings) const {
    return WriteBytes(SettingsPath(), SettingsBytes(settings));
}

bool ProgramFolder::WriteHandoff(const std::vector<std::string>& paths) const {
    return WriteBytes(HandoffPath(), HandoffBytes(paths));
}

bool ProgramFolder::WriteFavourite(const std::string& title, const std::vector<std::string>& rules) const {
    return MakeFolders(At("favorite")) && WriteBytes(At("favorite\\" + title + ".qvr"), StringListRecord(rules));
}

std::string ProgramFolder::MakeFolder(const std::string& relative) const {
    const std::string folder = At(relative);
    MakeFolders(folder);
    return folder;
}

std::string ProgramFolder::MakeFile(const std::string& relative, const std::string& bytes) const {
    const std::string file = At(relative);
    const std::size_t slash = file.find_last_of('\\');
    MakeFolders(file.substr(0, slash));
    WriteBytes(file, bytes);
    return file;
}

// ---------------------------------------------------------------- the program

namespace {

bool IsMainWindow(const Window& window) {
    return window.ClassName() == "#32770" && window.Caption() == "Quorvane 2" && window.Child(IDC_FILE_LIST);
}

}  // namespace

Program::Program(const ProgramFolder& folder, int timeoutMs) {
    const double started = Seconds();
    std::string command = "\"" + folder.ProgramPath() + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(folder.ProgramPath().c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.path().c_str(), &startup, &info))
        return;
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitFor(
        [&] {
            for (const Window& top : TopWindows()) {
                if (IsMainWindow(top)) {
                    main_ = top;
                    return true;
                }
            }
            return Exited();
        },
        timeoutMs);
    // Idle, and painted for the first time (the first paint lays the window
    // out, or maximizes it); then idle once more after a quiet moment: the
    // dialog loop's first empty queue has passed (Wine shows the dialog
    // normally then, and the window maximizes itself again); the foreground
    // window, as a program just started is.
    if (main_ && Settle(timeoutMs)) {
        ::Sleep(50);
        if (Settle(timeoutMs) && EnsureForeground()) startSeconds_ = Seconds() - started;
    }
}

Program::~Program() { Kill(); }

bool Program::running() const { return process_ && main_ && !Exited(); }

bool Program::WaitIdle(int timeoutMs) const {
    // The fence: the filter box's text limit, which the program never sets
    // or reads, and which stays far above any text typed into the box. A
    // posted message sets it to a new value: the value shows once the
    // window's thread takes posted messages again, which it does only in a
    // message loop (its own or a modal window's), not while a command runs,
    // even when the command answers sent messages meanwhile. A modal window
    // that ends may drop a posted message (Wine's file dialogs do), so the
    // fence is posted again while it does not show.
    static std::atomic<unsigned> count{0};
    const WPARAM mark = 0x7FFF0000u + (count++ % 0xFFFFu);
    const Window fence = Control(IDC_FILTER);
    const double end = Seconds() + timeoutMs / 1000.0;
    const auto left = [&] { return std::max(1, static_cast<int>((end - Seconds()) * 1000.0)); };
    double repost = 0;
    for (;;) {
        if (Seconds() >= repost) {
            if (!fence.Post(EM_SETLIMITTEXT, mark, 0)) return false;
            repost = Seconds() + 0.25;
        }
        LRESULT limit = 0;
        if (!fence.Send(EM_GETLIMITTEXT, 0, 0, &limit, left())) return false;
        if (static_cast<WPARAM>(limit) == mark) return true;
        if (Seconds() >= end) return false;
        ::Sleep(1);
    }
}

bool Program::Settle(int timeoutMs) const {
    // Input and the messages a command posts (a check box posts its click)
    // come after a first fence: two more make sure they have been handled.
    for (int round = 0; round < 3; ++round)
        if (!WaitIdle(timeoutMs)) return false;
    WaitPainted();
    return true;
}

namespace {

// Whether a window or any window inside it waits to be painted.
bool PaintPending(HWND window) {
    if (::GetUpdateRect(window, nullptr, FALSE)) return true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child) && PaintPending(child)) return true;
    return false;
}

}  // namespace

bool Program::WaitPainted(int timeoutMs) const {
    // Painting comes after every other message: let the window's thread
    // take its messages until nothing of the window waits to be painted.
    const double end = Seconds() + timeoutMs / 1000.0;
    while (PaintPending(main_.hwnd())) {
        if (Seconds() >= end || !WaitIdle(timeoutMs)) return false;
        ::Sleep(2);
    }
    return true;
}

bool Program::Click(int id) const {
    const Window control = Control(id);
    return control && control.Click() && Settle();
}

bool Program::MouseClick(int id, unsigned modifiers) const {
    const Window control = Control(id);
    if (!control) return false;
    MouseClickAt(control.Centre(), modifiers);
    return Settle();
}

bool Program::Focus(int id) const { return FocusWindow(Control(id)); }

bool Program::EnsureForeground() const {
    const auto ours = [&] {
        DWORD process = 0;
        const HWND foreground = ::GetForegroundWindow();
        if (foreground) ::GetWindowThreadProcessId(foreground, &process);
        return process == processId_;
    };
    if (ours()) return true;
    ::SetForegroundWindow(main_.hwnd());
    return WaitFor(ours, 3000) && Settle();
}

bool Program::PressKey(WORD virtualKey, unsigned modifiers) const {
    // Keys go to the foreground window's thread.
    if (!EnsureForeground()) return false;
    KeyPress(virtualKey, modifiers);
    return Settle();
}

bool Program::TypeInto(int id, const std::string& text) const { return Control(id).ReplaceText(text) && Settle(); }

bool Program::SelectItems(int id, const std::vector<int>& items, int caret) const {
    return Control(id).SelectItems(items, caret) && Settle();
}

bool Program::ChooseItem(int id, int index) const { return Control(id).ChooseItem(index) && Settle(); }

std::string Program::Status() const { return Text(IDC_STATUS); }

std::string Program::ResultText() const { return Text(IDC_RESULT_LIST); }

bool Program::Maximized() const { return main_ && ::IsZoomed(main_.hwnd()); }

Window Program::Focused() const { return FocusOf(main_.ThreadId()); }

Window Program::WaitForWindow(const std::function<bool(const Window&)>& which, int timeoutMs) const {
    Window found;
    WaitFor(
        [&] {
            for (const Window& top : TopWindows()) {
                if (top != main_ && which(top)) {
                    found = top;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

Window Program::WaitForWindowTitled(const std::string& caption, int timeoutMs) const {
    return WaitForWindow([&](const Window& w) { return w.Caption() == caption; }, timeoutMs);
}

MessageView Program::WaitForMessage(int timeoutMs) const {
    const Window window = WaitForWindow(
        [](const Window& w) {
            if (w.ClassName() != "#32770" || FileDialog::IsOne(w) || FolderBrowser::IsOne(w)) return false;
            return !ReadMessage(w).buttons.empty();
        },
        timeoutMs);
    return window ? ReadMessage(window) : MessageView{};
}

FileDialog Program::WaitForFileDialog(int timeoutMs) const {
    return FileDialog(WaitForWindow([](const Window& w) { return FileDialog::IsOne(w); }, timeoutMs));
}

FolderBrowser Program::WaitForFolderBrowser(int timeoutMs) const {
    return FolderBrowser(WaitForWindow([](const Window& w) { return FolderBrowser::IsOne(w); }, timeoutMs));
}

Window Program::WaitForMenu(int timeoutMs) const {
    return WaitForWindow([](const Window& w) { return w.ClassName() == "#32768"; }, timeoutMs);
}

bool Program::OtherWindowOpen() const {
    for (const Window& top : TopWindows()) {
        const std::string name = top.ClassName();
        if (top != main_ && (name == "#32770" || name == "#32768")) return true;
    }
    return false;
}

bool Program::Close(bool yes) {
    if (!running()) return false;
    // Escape reaches the window from any of its controls that does not keep it.
    const Window focus = Focused();
    if (!(focus && ::IsChild(main_.hwnd(), focus.hwnd()) && ::GetForegroundWindow() == main_.hwnd()))
        Focus(IDC_FILE_LIST);
    if (!PressKey(VK_ESCAPE)) return false;
    const MessageView question = WaitForMessage();
    if (question.caption != "Please select" || !question.Press(yes ? "&Yes" : "&No")) return false;
    return yes ? WaitForExit() : Settle();
}

bool Program::WaitForExit(int timeoutMs) const {
    return process_ && ::WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool Program::Exited() const { return !process_ || ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

DWORD Program::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_, &code);
    return code;
}

void Program::Kill() {
    if (!process_) return;
    if (!Exited()) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
    process_ = nullptr;
    main_ = Window();
}

MemoryFigures Program::Memory() const {
    MemoryFigures figures;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (process_ && ::GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                           sizeof counters)) {
        figures.workingSet = counters.WorkingSetSize;
        figures.peakWorkingSet = counters.PeakWorkingSetSize;
        figures.privateBytes = counters.PrivateUsage;
    }
    return figures;
}

}  // namespace quorv::e2e
