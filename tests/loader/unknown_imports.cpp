// Never run: the import check's own test reads its import table. It imports
// winmm.dll, which Windows does not keep among its known DLLs, and
// comctl32.dll without a manifest that asks for the common controls 6.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

int main() {
    InitCommonControls();
    return static_cast<int>(timeGetTime() & 1);
}
