// A DLL in the place of QuorvShell.dll that exports only DllUnregisterServer
// (answering S_OK): the main program must report the missing DllRegisterServer
// and DllCanUnloadNow and still unregister.
#include <windows.h>

extern "C" HRESULT __stdcall DllUnregisterServer() { return S_OK; }
