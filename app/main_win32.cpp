// Quorv2.exe: the program starts its main window as a modal dialog and ends
// when the window has been closed.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/main_window_win32.h"
#include "skin/result_view_win32.h"
#include "system/system.h"
#include "system/system_access.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library by name: none may come from the
    // program folder, which is not the system's.
    quorv::LoadLibrariesFromTheSystemOnly();
    try {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        // The quick preview hosts ActiveX players and loads OLE pictures; the
        // folder picker and the file dialogs use the shell.
        const HRESULT ole = ::OleInitialize(nullptr);
        quorv::win::RegisterResultView();
        int result = 0;
        {
            quorv::win::MainWindow window(quorv::SystemServices());
            result = window.Run() == -1 ? 1 : 0;
        }
        if (SUCCEEDED(ole)) ::OleUninitialize();
        return result;
    } catch (...) {
        quorv::WriteErrorLog("Quorvane 2 stopped after an unexpected failure.");
        return 1;
    }
}
