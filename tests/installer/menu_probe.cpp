// Test helper for the setup tests, run under Wine.
//
//   menu_probe menu
//       Creates the registered context-menu handler "Quorvane Shell" as the
//       file manager does (class from the handler entry, Initialize,
//       QueryContextMenu into a menu that already holds one item) and prints
//       what it added:
//         clsid=<class id>  server=<InprocServer32 path>
//         added=<identifiers used>  item=<text>  bitmap=yes|no
//         separator-above=yes|no
//       Exit status 0 when the item was found, 1 otherwise.
//   menu_probe wait-window TITLE MILLISECONDS
//       Waits until a top-level window with that title exists (status 0) or
//       the time is up (status 1).
//   menu_probe kill-window TITLE
//       Ends the process that owns the top-level window of that title.
//   menu_probe close-program EXE
//       Closes the running main window of the program EXE as its user does
//       (Escape, then "&Yes"), so that it writes its settings; status 0 once
//       the program has ended.
//   menu_probe save-favourite EXE TITLE
//       In the running program EXE: saves the rule list as a rule file,
//       typing only TITLE into the save dialog (the dialog's own folder
//       decides where it lands), prints the favourites list, one
//       "favourite=<title>" a line, and closes the program. Status 0 when
//       the title is listed and the program ended.
//   menu_probe hand-over EXE FILE...
//       Chooses the menu item of the registered handler for the files, as
//       the file manager does; waits for the program EXE that it starts,
//       prints its file list ("file=<path>" a line) and closes it.
//   menu_probe user-folder
//       Prints the user's data folder of the installed copy.
//   menu_probe uninstall UNINSTALLER ANSWER
//       Runs the uninstaller as its user does (no /S): "Uninstall" on its
//       first page; when it asks about the user's own files, prints
//       "question=<text>" (its lines joined by blanks) and
//       "default=<the default button's text>", and answers: ANSWER "enter"
//       presses the Enter key (the default answer), any other ANSWER is the
//       text of the button to click ("&Yes"); then "Close" on its last page.
//       Prints "asked=yes|no". Status 0 once the uninstaller has ended.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "tests/e2e/driver/e2e_shell_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/support/registry_win32.h"
#include "tests/win32/shell_test_support.h"
#include "view/main_ids.h"

namespace {

using quorv::e2e::FileDialog;
using quorv::e2e::StartedProgram;
using quorv::e2e::Window;
using quorv::win::ComApartment;
using quorv::win::ComPtr;

constexpr char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Quorvane Shell";
constexpr UINT kFirstId = 100;

// The default value of a key under HKEY_CLASSES_ROOT; empty when missing.
std::string ClassesDefault(const std::string& key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
    quorv::win::RegKey k(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(k.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        return {};
    return std::string(buf.data());
}

// The registered handler as the file manager creates it: the class the
// handler entry names, initialised with the data object (none: no data).
ComPtr<IContextMenu> RegisteredHandler(IDataObject* data) {
    const std::string clsidText = ClassesDefault(kHandlerKey);
    if (clsidText.empty()) {
        std::printf("no handler entry\n");
        return {};
    }
    const std::string server = ClassesDefault("CLSID\\" + clsidText + "\\InprocServer32");
    std::printf("clsid=%s\nserver=%s\n", clsidText.c_str(), server.c_str());

    std::wstring wide(clsidText.begin(), clsidText.end());
    CLSID clsid{};
    if (FAILED(CLSIDFromString(wide.c_str(), &clsid))) {
        std::printf("the handler entry is no class id\n");
        return {};
    }
    ComPtr<IShellExtInit> init;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void());
    if (FAILED(hr)) {
        std::printf("CoCreateInstance failed: 0x%08lX\n", static_cast<unsigned long>(hr));
        return {};
    }
    hr = init->Initialize(nullptr, data, nullptr);
    std::printf("initialize=0x%08lX\n", static_cast<unsigned long>(hr));
    ComPtr<IContextMenu> menu;
    hr = init.As(IID_IContextMenu, menu);
    if (FAILED(hr)) {
        std::printf("no IContextMenu: 0x%08lX\n", static_cast<unsigned long>(hr));
        return {};
    }
    return menu;
}

int ProbeMenu() {
    ComApartment apartment;
    const ComPtr<IContextMenu> menu = RegisteredHandler(nullptr);
    if (!menu) return 1;
    HRESULT hr = S_OK;

    quorv::win::MenuHandle popup(CreatePopupMenu());
    AppendMenuA(popup.get(), MF_STRING, 1, "Open");
    hr = menu->QueryContextMenu(popup.get(), 0, kFirstId, kFirstId + 100, CMF_NORMAL);
    std::printf("added=%d\n", SUCCEEDED(hr) ? static_cast<int>(HRESULT_CODE(hr)) : -1);

    bool found = false;
    const int count = GetMenuItemCount(popup.get());
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_CHECKMARKS;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(popup.get(), static_cast<UINT>(i), TRUE, &info) || info.wID != kFirstId) continue;
        found = true;
        std::printf("item=%s\n", text);
        std::printf("bitmap=%s\n", info.hbmpChecked != nullptr && info.hbmpUnchecked != nullptr ? "yes" : "no");
        bool separatorAbove = false;
        if (i > 0) {
            MENUITEMINFOA above{};
            above.cbSize = sizeof above;
            above.fMask = MIIM_FTYPE;
            separatorAbove = GetMenuItemInfoA(popup.get(), static_cast<UINT>(i - 1), TRUE, &above) &&
                             (above.fType & MFT_SEPARATOR) != 0;
        }
        std::printf("separator-above=%s\n", separatorAbove ? "yes" : "no");
    }
    if (!found) std::printf("item not found among %d items\n", count);
    return found ? 0 : 1;
}

int WaitWindow(const char* title, int milliseconds) {
    return quorv::test::WaitFor([title] { return FindWindowA(nullptr, title) != nullptr; }, milliseconds, 100) ? 0 : 1;
}

std::wstring Wide(const char* text) { return quorv::test::Widen(text); }

int CloseProgram(const char* exe) {
    StartedProgram program(Wide(exe));
    if (!program.running()) {
        std::printf("no running program %s\n", exe);
        return 1;
    }
    return program.Close() ? 0 : 1;
}

// The program's file dialog, once it is open.
FileDialog WaitForFileDialog(DWORD processId) {
    Window found;
    quorv::test::WaitFor([&] {
        for (const Window& window : quorv::e2e::TopWindowsOf(processId)) {
            if (FileDialog::IsOne(window)) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return FileDialog(found);
}

int SaveFavourite(const char* exe, const char* title) {
    StartedProgram program(Wide(exe));
    if (!program.running()) {
        std::printf("no running program %s\n", exe);
        return 1;
    }
    if (!program.Control(IDC_SAVE_RULES).Click()) return 1;
    const FileDialog dialog = WaitForFileDialog(program.main().ProcessId());
    if (!dialog.window() || !dialog.EnterName(title) || !dialog.Ok()) {
        std::printf("no save dialog\n");
        return 1;
    }
    const Window favourites = program.Control(IDC_FAVOURITES);
    std::vector<std::string> items;
    // The list is refilled after the save: a reading counts once the count
    // taken after it still matches (a count taken before the refill would
    // cut the new list short).
    const bool listed = quorv::test::WaitFor([&] {
        items = favourites.Items();
        bool found = false;
        for (const std::string& item : items) found = found || item == title;
        return found && favourites.Count() == static_cast<int>(items.size());
    });
    for (const std::string& item : items) std::printf("favourite=%s\n", item.c_str());
    return program.Close() && listed ? 0 : 1;
}

int HandOver(const char* exe, const std::vector<std::wstring>& files) {
    {
        ComApartment apartment;
        const ComPtr<IContextMenu> menu = RegisteredHandler(quorv::test::MakeDropData(files).get());
        if (!menu) return 1;
        quorv::win::MenuHandle popup(CreatePopupMenu());
        if (menu->QueryContextMenu(popup.get(), 0, kFirstId, kFirstId + 100, CMF_NORMAL) != 1) return 1;
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.lpVerb = MAKEINTRESOURCEA(0);
        invoke.nShow = SW_SHOWNORMAL;
        if (menu->InvokeCommand(&invoke) != S_OK) return 1;
    }
    StartedProgram program(Wide(exe));
    if (!program.running()) {
        std::printf("the program did not start\n");
        return 1;
    }
    // The list is filled before the window first waits for input.
    for (const std::string& item : program.Control(IDC_FILE_LIST).Items()) std::printf("file=%s\n", item.c_str());
    return program.Close() ? 0 : 1;
}

int KillWindow(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    if (window == nullptr) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    quorv::win::FileHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process) return 1;
    if (!TerminateProcess(process.get(), 0)) return 1;
    WaitForSingleObject(process.get(), 5000);
    return 0;
}

// The uninstaller's window: its caption starts so (the setup program adds a
// blank), and the button that goes on has the same id on every page
// ("Uninstall", then "Close").
constexpr char kUninstallCaption[] = "Quorvane 2 Uninstall";
constexpr int kNextButton = 1;
constexpr int kPageStatus = 1006;  // the page's line of text above its progress

Window UninstallerWindow() {
    Window found;
    quorv::test::WaitFor(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
                const Window candidate(window);
                if (candidate.Visible() && candidate.Child(kNextButton) &&
                    candidate.Caption().rfind(kUninstallCaption, 0) == 0) {
                    found = candidate;
                    return true;
                }
            }
            return false;
        },
        30000, 50);
    return found;
}

// The uninstaller's question: a message box of its process with a "No".
Window QuestionOf(DWORD processId, const Window& main) {
    for (const Window& window : quorv::e2e::TopWindowsOf(processId)) {
        if (window != main && window.Child(IDNO)) return window;
    }
    return Window();
}

// The last page: its work "Completed", and the button that went on now
// closes. (The button reads "Close" as soon as the work starts, and may be
// enabled for a moment then.)
bool Finished(const Window& main) {
    const Window next = main.Child(kNextButton);
    if (!next || !next.Enabled() || next.Text() != "&Close") return false;
    const Window page = main.Descendant("#32770");
    return page && page.Child(kPageStatus).Text() == "Completed";
}

int Uninstall(const char* uninstaller, const std::string& answer) {
    // Each line as it happens: the test reads them after a failure too.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::wstring commandLine = L"\"" + Wide(uninstaller) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        std::printf("the uninstaller did not start\n");
        return 1;
    }
    // It copies itself away and runs the copy: the window is another process's.
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    const Window main = UninstallerWindow();
    if (!main) {
        std::printf("no uninstaller window\n");
        return 1;
    }
    quorv::win::FileHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, main.ProcessId()));
    if (!process || !main.Child(kNextButton).Click()) return 1;

    Window question;
    quorv::test::WaitFor([&] {
        question = QuestionOf(main.ProcessId(), main);
        return static_cast<bool>(question) || Finished(main);
    }, 30000, 50);
    std::printf("asked=%s\n", question ? "yes" : "no");
    if (question) {
        const quorv::e2e::MessageView view = quorv::e2e::ReadMessage(question);
        std::string text = view.text;
        for (char& c : text) {
            if (c == '\r' || c == '\n') c = ' ';
        }
        std::printf("question=%s\n", text.c_str());
        // The default answer: the button drawn as the default one.
        std::string defaultText;
        for (const Window& child : question.Children()) {
            const LONG_PTR style = GetWindowLongPtrW(child.hwnd(), GWL_STYLE);
            if (child.Visible() && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultText = child.Text();
        }
        std::printf("default=%s\n", defaultText.c_str());
        bool answered = false;
        if (answer == "enter") {
            // The key as the keyboard delivers it: to the window with the
            // focus, which must be in the question.
            const Window focus = quorv::e2e::FocusOf(question.ThreadId());
            answered = focus && (focus == question || focus.Parent() == question) &&
                       focus.Post(WM_KEYDOWN, VK_RETURN, 1) && focus.Post(WM_KEYUP, VK_RETURN, 0xC0000001);
        } else {
            answered = view.Press(answer);
        }
        if (!answered) {
            std::printf("could not answer\n");
            TerminateProcess(process.get(), 1);
            return 1;
        }
    }
    if (!quorv::test::WaitFor([&] { return Finished(main); }, 30000, 50) || !main.Child(kNextButton).Click()) {
        std::printf("the uninstaller did not finish\n");
        TerminateProcess(process.get(), 1);
        return 1;
    }
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::strcmp(argv[1], "menu") == 0) return ProbeMenu();
        if (argc == 4 && std::strcmp(argv[1], "wait-window") == 0)
            return WaitWindow(argv[2], std::atoi(argv[3]));
        if (argc == 3 && std::strcmp(argv[1], "kill-window") == 0) return KillWindow(argv[2]);
        if (argc == 3 && std::strcmp(argv[1], "close-program") == 0) return CloseProgram(argv[2]);
        if (argc == 4 && std::strcmp(argv[1], "save-favourite") == 0) return SaveFavourite(argv[2], argv[3]);
        if (argc >= 4 && std::strcmp(argv[1], "hand-over") == 0) {
            std::vector<std::wstring> files;
            for (int i = 3; i < argc; ++i) files.push_back(Wide(argv[i]));
            return HandOver(argv[2], files);
        }
        if (argc == 2 && std::strcmp(argv[1], "user-folder") == 0) {
            std::printf("%s\n", quorv::test::Narrow(quorv::test::UserDataFolder()).c_str());
            return 0;
        }
        if (argc == 4 && std::strcmp(argv[1], "uninstall") == 0) return Uninstall(argv[2], argv[3]);
    } catch (...) {
        std::printf("unexpected exception\n");
        return 1;
    }
    std::fprintf(stderr,
                 "usage: menu_probe menu | wait-window TITLE MS | kill-window TITLE | close-program EXE |\n"
                 "       save-favourite EXE TITLE | hand-over EXE FILE... | user-folder |\n"
                 "       uninstall UNINSTALLER enter|BUTTON\n");
    return 2;
}
