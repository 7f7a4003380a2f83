#include "skin/dpi_win32.h"

#include "platform/raii_win32.h"

namespace quorv::win {
namespace {

// The functions of newer systems, looked up once in user32.
struct DpiFunctions {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    GetDpiForWindowFn getDpiForWindow = nullptr;
    SetDialogDpiChangeBehaviorFn setDialogDpiChangeBehavior = nullptr;

    DpiFunctions() {
        if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
            getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")));
            setDialogDpiChangeBehavior = reinterpret_cast<SetDialogDpiChangeBehaviorFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "SetDialogDpiChangeBehavior")));
        }
    }
};

const DpiFunctions& Dpi() {
    static const DpiFunctions functions;
    return functions;
}

// DIALOG_DPI_CHANGE_BEHAVIORS: no resize, no font update, no relayout.
constexpr int kDisableAllDialogChanges = 0x0001 | 0x0002 | 0x0004;

}  // namespace

Scale WindowScale(HWND window) {
    if (!window) return Scale();
    if (Dpi().getDpiForWindow) {
        const UINT dpi = Dpi().getDpiForWindow(window);
        if (dpi > 0) return Scale(static_cast<int>(dpi));
    }
    WindowDc dc(window);
    return dc ? Scale(::GetDeviceCaps(dc.get(), LOGPIXELSY)) : Scale();
}

void TakeOverDpiChanges(HWND dialog) {
    if (dialog && Dpi().setDialogDpiChangeBehavior)
        Dpi().setDialogDpiChangeBehavior(dialog, kDisableAllDialogChanges, kDisableAllDialogChanges);
}

HFONT CreateSkinFont(const wchar_t* face, int height96, int weight, BYTE pitchAndFamily, Scale scale) {
    return ::CreateFontW(scale.Px(height96), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily, face);
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && ::GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

HICON LoadScaledIcon(int resource, int side96, Scale scale) {
    const int side = scale.Px(side96);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, side,
                                           side, LR_DEFAULTCOLOR));
}

}  // namespace quorv::win
