#pragma once
// Resource identifiers of Quorv2.exe: its dialog template and the commands
// of the help and theme menus, with the main window's control ids
// (view/main_ids.h) and the skin's ids and icons (skin/skin_ids.h). Used by
// the resource script and by the window code; plain numbers, so that a
// resource compiler reads this file as well as C++ does.

#include "skin/skin_ids.h"
#include "view/main_ids.h"

// ---- dialog templates
#define IDD_MAIN 102          // the main window

// ---- commands of the help and theme menus
#define IDM_ABOUT 7001
#define IDM_MANUAL 7002
#define IDM_WEBSITE 7003
#define IDM_EMAIL 7004
#define IDM_UPDATE 7005
#define IDM_THEME_FIRST 7100   // 7100 + theme index, 0 to 10
#define IDM_THEME_LAST 7110
