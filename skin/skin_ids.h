#pragma once
// Resource and command identifiers of the skin: the empty popup template of
// the themed dialogs, the title bar and its buttons, and every icon of the
// program (skin/skin.rc). The program's resource.h includes this file; plain
// numbers, so that a resource compiler reads it as well as C++ does.

#define IDD_EMPTY_POPUP 129   // the themed dialogs (message box, about box)

// ---- controls of the themed dialogs
#define IDC_TITLE_BAR 0xFFFF   // the drawn title-bar band
#define IDC_CLOSE 2            // IDCANCEL: the Close button, Escape, system Close

// ---- the title bar's buttons, routed through the window's command handler
#define IDM_MINIMIZE 5001
#define IDM_MAXIMIZE 5002

// ---- icons
#define IDI_PROGRAM 128
#define IDI_CLOSE 131
#define IDI_MINIMIZE 133
#define IDI_MAXIMIZE 214
#define IDI_RESTORE 216
#define IDI_MANUAL 136
#define IDI_ABOUT 137
#define IDI_EMAIL 139
#define IDI_WEBSITE 140
#define IDI_SAVE_RULES 153
#define IDI_LOAD 155
#define IDI_SAVE_BATCH 157
#define IDI_REMOVE_SELECTED 146
#define IDI_REMOVE_ALL 147
#define IDI_MOVE_UP 169
#define IDI_MOVE_DOWN 171
#define IDI_UNDO 180
#define IDI_SELECT_ALL 183
#define IDI_MOVE_FILES 184
#define IDI_ADD_RULE 185
#define IDI_DELETE_RULE 186
#define IDI_INVERT_SELECTION 189
#define IDI_COPY_FILES 190
#define IDI_ADD_FILES 191
#define IDI_ADD_DIR 192
#define IDI_UPDATE 198
#define IDI_SORT 208
#define IDI_THEME 212
#define IDI_PREVIEW 218
#define IDI_RENAME 222
#define IDI_DROP_DOWN 223
#define IDI_UPDATE_RULE 224
