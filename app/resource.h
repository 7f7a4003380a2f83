#pragma once
// Resource and control identifiers of Quorv2.exe: dialog templates, the
// controls of the main window, the menu commands and the icons. Used by the
// resource script and by the window code; plain numbers, so that a resource
// compiler reads this file as well as C++ does.

// ---- dialog templates
#define IDD_MAIN 102          // the main window
#define IDD_EMPTY_POPUP 129   // the themed dialogs (message box, about box)

// ---- controls of the main window, in template (tab) order
#define IDC_FILE_LIST 1000
#define IDC_RESULT_LIST 1013
#define IDC_PREVIEW 1019
#define IDC_RENAME 1020
#define IDC_UNDO 1021
#define IDC_LOAD_BATCH 1023
#define IDC_SAVE_BATCH 1024
#define IDC_ADD_DIR 1001
#define IDC_ADD_FILES 1002
#define IDC_CASE 1003
#define IDC_FILTER_LABEL (-1)
#define IDC_FILTER 1004
#define IDC_SUBDIR 1027
#define IDC_QUICKVIEW_FRAME 1030
#define IDC_REMOVE_SELECTED 1005
#define IDC_REMOVE_ALL 1026
#define IDC_MOVE_FILES 1031
#define IDC_SELECT_ALL 1032
#define IDC_INVERT_SELECTION 1033
#define IDC_COPY_FILES 1034
#define IDC_QUICKVIEW 1035
#define IDC_RESULT_FRAME 1056
#define IDC_EXCLUDE 1038
#define IDC_COMMAND_LINE 1058
#define IDC_SHELL_MENU 1039
#define IDC_FILE_UP 1042
#define IDC_FILE_DOWN 1043
#define IDC_SORT 1044
#define IDC_LOAD_RULES 1040
#define IDC_FAVOURITES 1045
#define IDC_FAVOURITES_FRAME 1060
#define IDC_STATUS 1046
#define IDC_HELP_BUTTON 1047
#define IDC_FILE_FRAME 1036
#define IDC_THEME 1048
#define IDC_BUILDER_FRAME 1059
#define IDC_ADD_RULE 1007
#define IDC_DELETE_RULE 1008
#define IDC_TARGET 1009
#define IDC_ACTION 1010
#define IDC_PARAMETER 1011
#define IDC_VALUE 1012
#define IDC_VALUE_LABEL 1022
#define IDC_RULE_LIST 1006
#define IDC_RULE_UP 1028
#define IDC_RULE_DOWN 1029
#define IDC_SAVE_RULES 1041
#define IDC_UPDATE_RULE 1014

// ---- controls of the themed dialogs
#define IDC_TITLE_BAR 0xFFFF   // the drawn title-bar band
#define IDC_CLOSE 2            // IDCANCEL: the Close button, Escape, system Close

// ---- commands routed through the main window's command handler
#define IDM_MINIMIZE 5001
#define IDM_MAXIMIZE 5002
#define IDM_ABOUT 7001
#define IDM_MANUAL 7002
#define IDM_WEBSITE 7003
#define IDM_EMAIL 7004
#define IDM_UPDATE 7005
#define IDM_THEME_FIRST 7100   // 7100 + theme index, 0 to 10
#define IDM_THEME_LAST 7110

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
