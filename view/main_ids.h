#pragma once
// The control ids of the main window, in template (tab) order. Plain
// numbers, so that the resource compiler reads this file (through
// app/resource.h) as well as C++ does.

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
