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
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "tests/support/messages_win32.h"

namespace {

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

int ProbeMenu() {
    const std::string clsidText = ClassesDefault(kHandlerKey);
    if (clsidText.empty()) {
        std::printf("no handler entry\n");
        return 1;
    }
    const std::string server = ClassesDefault("CLSID\\" + clsidText + "\\InprocServer32");
    std::printf("clsid=%s\nserver=%s\n", clsidText.c_str(), server.c_str());

    std::wstring wide(clsidText.begin(), clsidText.end());
    CLSID clsid{};
    if (FAILED(CLSIDFromString(wide.c_str(), &clsid))) {
        std::printf("the handler entry is no class id\n");
        return 1;
    }
    ComApartment apartment;
    ComPtr<IShellExtInit> init;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void());
    if (FAILED(hr)) {
        std::printf("CoCreateInstance failed: 0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
    }
    hr = init->Initialize(nullptr, nullptr, nullptr);
    std::printf("initialize=0x%08lX\n", static_cast<unsigned long>(hr));
    ComPtr<IContextMenu> menu;
    hr = init.As(IID_IContextMenu, menu);
    if (FAILED(hr)) {
        std::printf("no IContextMenu: 0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
    }

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
    } catch (...) {
        std::printf("unexpected exception\n");
        return 1;
    }
    std::fprintf(stderr, "usage: menu_probe menu | wait-window TITLE MS | kill-window TITLE\n");
    return 2;
}
