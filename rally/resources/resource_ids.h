#pragma once

// Identifiers of RALLY.DLL's resources and of their controls. Read by the
// resource compiler as well as by the C++ dialog procedures, so only plain
// #defines live here.

// Resources
#define IDB_AERILON_PICTURE 104
#define IDM_RALLY_POPUP 106
#define IDD_SCORE_SUMMARY 101
#define IDD_QUIZ 102
#define IDD_CREDITS 107

// Menu items carry their slot; the merge adds the command base to each.
#define SLOT_ENTER_RACE 0
#define SLOT_SCORE_SUMMARY 1
#define SLOT_REPEAT_MESSAGE 2
#define SLOT_NEXT_FIX 3
#define SLOT_CREDITS 4
#define SLOT_FIRST_POSITION 6

// Controls without an identifier of their own
#define IDC_NONE -1

// Score summary
#define IDC_FIRST_TITLE 1000
#define IDC_SECOND_TITLE 1001
#define IDC_LEG_STATUS 1002
#define IDC_LEG_1 1003
#define IDC_LEG_2 1004
#define IDC_LEG_3 1005
#define IDC_LEG_4 1006
#define IDC_LEG_5 1007
#define IDC_LEG_6 1008
#define IDC_LEG_7 1009
#define IDC_LEG_8 1010
#define IDC_SCORES_GROUP 1014
#define IDC_BONUS 1015
#define IDC_TOTAL 1016
#define IDC_KEY 1018
#define IDC_WORD 1019
#define IDC_EXIT_RACE 1040
#define IDC_PRODUCT_CODE 1046

// Quiz
#define IDC_ANSWER_1 1041
#define IDC_ANSWER_2 1042
#define IDC_ANSWER_3 1043
#define IDC_QUESTION 1044
#define IDC_VERDICT 1045
