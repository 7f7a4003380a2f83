#pragma once
// The display scale on the running system: which DPI a window has, the
// fonts and icons of the skin at a scale, and the dialog manager's own
// rescaling turned off for the windows that rescale themselves.
//
// The program is per-monitor DPI aware (version 2) where Windows offers it
// and system aware elsewhere (its manifest). Every window asks its DPI once
// it exists and again on WM_DPICHANGED, and hands the Scale down to its
// controls and to the layout arithmetic (view/scale.h).
#include <windows.h>

#include "view/scale.h"

namespace quorv::win {

// The DPI of a window: GetDpiForWindow where the system has it (looked up
// at run time: Windows 10 1607 and later), else the LOGPIXELSY of the
// window's DC (the system's DPI); 96 without a window.
Scale WindowScale(HWND window);

// The DPI a WM_DPICHANGED carries (its wParam).
inline Scale ScaleOfDpiChange(WPARAM wParam) { return Scale(static_cast<int>(LOWORD(wParam))); }

// Tells the dialog manager to leave a dialog alone on a DPI change (no
// resize, no new font, no new layout of its controls), where the system
// has SetDialogDpiChangeBehavior: the window does all three itself when
// WM_DPICHANGED arrives.
void TakeOverDpiChanges(HWND dialog);

// A font of the skin: height in pixels at 96 DPI (negative: the character
// height, as CreateFont takes it), at the scale.
HFONT CreateSkinFont(const wchar_t* face, int height96, int weight, BYTE pitchAndFamily, Scale scale);

// The work area (the screen less the task bar) of the monitor the window
// lies on most, or of the nearest one.
RECT WorkAreaOf(HWND window);

// An icon resource of the program at side x side pixels at 96 DPI, at the
// scale: the system picks the entry of the icon file nearest that size.
HICON LoadScaledIcon(int resource, int side96, Scale scale);

}  // namespace quorv::win
