/* Stand-in for QuorvShell.dll while the extension is not part of the build.
   Its registration writes only the two keys the uninstaller looks at: the
   context-menu handler entry and the class's InprocServer32 path, so that
   the uninstaller's unregistration can be tested. */
#include <windows.h>
#include <olectl.h>

static const char kClsid[] = "{5C0DA11E-57A2-4D0E-9E7B-0F1E2D3C4B5A}";
static const char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Quorvane Shell";
static const char kClassKey[] = "CLSID\\{5C0DA11E-57A2-4D0E-9E7B-0F1E2D3C4B5A}";
static HMODULE g_module;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

static LONG SetDefault(const char* key, const char* value) {
    HKEY k;
    LONG r = RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, NULL, 0, KEY_WRITE, NULL, &k, NULL);
    if (r != ERROR_SUCCESS) return r;
    r = RegSetValueExA(k, NULL, 0, REG_SZ, (const BYTE*)value, (DWORD)lstrlenA(value) + 1);
    RegCloseKey(k);
    return r;
}

HRESULT __stdcall DllRegisterServer(void) {
    char path[MAX_PATH + 1];
    char key[128];
    DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    path[n] = '\0';
    lstrcpyA(key, kClassKey);
    lstrcatA(key, "\\InprocServer32");
    if (SetDefault(key, path) != ERROR_SUCCESS) return SELFREG_E_CLASS;
    if (SetDefault(kHandlerKey, kClsid) != ERROR_SUCCESS) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT __stdcall DllUnregisterServer(void) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kHandlerKey);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    return S_OK;
}

HRESULT __stdcall DllCanUnloadNow(void) { return S_OK; }
