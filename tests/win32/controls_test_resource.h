#pragma once
// Resources of the drawn-control tests: a dialog laid out like the lists
// and the result list of the main window.
#define IDD_CONTROLS_TEST 200
#define IDC_TEST_FILES 1000
#define IDC_TEST_RESULT 1013
#define IDC_TEST_RULES 1006
#define IDC_TEST_FAVOURITES 1045
