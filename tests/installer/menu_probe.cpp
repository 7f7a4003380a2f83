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
    } catch (...) {
        std::printf("unexpected exception\n");
        return 1;
    }
    std::fprintf(stderr,
                 "usage: menu_probe menu | wait-window TITLE MS | kill-window TITLE | close-program EXE |\n"
                 "       save-favourite EXE TITLE | hand-over EXE FILE... | user-folder\n");
    return 2;
}
