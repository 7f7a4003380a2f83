// Stand-in for Quorv2.exe while the program is not part of the build, so
// that the setup test can run its whole course: it shows a window titled
// "Quorvane 2" and, when its settings file "Quorv.cfg" beside it has the
// "ShellMenu" box ticked, registers "QuorvShell.dll" from its own folder, as
// the program does at start-up. Nothing else.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/raii_win32.h"

namespace {

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], MAX_PATH);
    path.resize(n < MAX_PATH ? n : 0);
    return path.substr(0, path.rfind('\\') + 1);
}

// Field 7 of the settings file: four numbers, two short texts, then the box.
bool ShellMenuTicked(const std::string& folder) {
    std::ifstream in(folder + "Quorv.cfg", std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t pos = 16;
    for (int i = 0; i < 2; ++i) {
        if (pos >= b.size() || b[pos] == 0xFF) return false;
        pos += 1 + b[pos];
    }
    return pos + 4 <= b.size() && b[pos] == 1 && b[pos + 1] == 0 && b[pos + 2] == 0 && b[pos + 3] == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        const std::string folder = ProgramFolder();
        if (ShellMenuTicked(folder)) {
            quorv::win::ModuleHandle dll(LoadLibraryA((folder + "QuorvShell.dll").c_str()));
            if (dll) {
                using Register = HRESULT(__stdcall*)();
                auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(dll.get(), "DllRegisterServer")));
                if (reg != nullptr) reg();
            }
        }
        quorv::win::WindowHandle window(CreateWindowExA(0, "STATIC", "Quorvane 2", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                        CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr,
                                                        nullptr, nullptr));
        if (!window) return 1;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } catch (...) {
        return 1;
    }
    return 0;
}
