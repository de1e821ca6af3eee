// Resource and command identifiers of Quillon. The numbers are the program's own and never change:
// project files, tests and the resource script all rely on them. Plain macros only, so the resource
// compiler, the Windows code and the portable core can all include this file.
#pragma once

// ---- Menus and accelerators --------------------------------------------------------------------
#define IDR_MAIN_MENU 101 // menu bar of the main window
#define IDR_ACCELERATORS 102
#define IDR_TAB_POPUP 134  // right click on the tab strip (first sub-menu)
#define IDR_LIST_POPUP 158 // right click on the event list (first sub-menu)

// ---- String table ------------------------------------------------------------------------------
#define IDS_APP_CAPTION 103
#define IDS_WINDOW_CLASS 104
#define IDS_NOT_RECOGNISED 105
#define IDS_CANNOT_OPEN_PATH 106
#define IDS_FILE_NOT_FOUND 107
#define IDS_PATH_LINKED 108
#define IDS_SAVE_BEFORE_CLOSE_TAB 109
#define IDS_SAVE_BEFORE_EXIT 110
#define IDS_CANNOT_OPEN_FILE 111
#define IDS_ALREADY_LOADED 112
#define IDS_OUT_OF_WORK_MEMORY 113
#define IDS_MUTEX_NAME 114
#define IDS_NO_MEMORY_TO_READ 115
#define IDS_WRONG_FORMAT 116
#define IDS_CONTACT 117

// ---- Bitmaps and icons -------------------------------------------------------------------------
#define IDB_MEMO 106            // row icon: the event has a work memo
#define IDB_TAB_FROM_EDL 125    // tab image of saveState 1
#define IDB_TAB_MODIFIED 128    // tab image of saveState 2
#define IDB_TAB_SAVED 129       // tab image of saveState 0
#define IDB_SORT_DESCENDING 137 // header image of sort state 0
#define IDB_SORT_ASCENDING 138  // header image of sort state 1
#define IDB_SORT_NONE 175       // header image of sort state 2
#define IDB_ABOUT 184           // picture of the version dialog

// The same bitmaps drawn for 125 %, 150 % and 200 % displays (120, 144 and 192 DPI): 5000, 6000
// and 7000 plus the id of the 96-DPI picture.
#define IDB_MEMO_120 5106
#define IDB_TAB_FROM_EDL_120 5125
#define IDB_TAB_MODIFIED_120 5128
#define IDB_TAB_SAVED_120 5129
#define IDB_OFFSET_ARROW_120 5132
#define IDB_OFFSET_ARROW_PRESSED_120 5133
#define IDB_SORT_DESCENDING_120 5137
#define IDB_SORT_ASCENDING_120 5138
#define IDB_SORT_NONE_120 5175
#define IDB_ABOUT_120 5184
#define IDB_MEMO_144 6106
#define IDB_TAB_FROM_EDL_144 6125
#define IDB_TAB_MODIFIED_144 6128
#define IDB_TAB_SAVED_144 6129
#define IDB_OFFSET_ARROW_144 6132
#define IDB_OFFSET_ARROW_PRESSED_144 6133
#define IDB_SORT_DESCENDING_144 6137
#define IDB_SORT_ASCENDING_144 6138
#define IDB_SORT_NONE_144 6175
#define IDB_ABOUT_144 6184
#define IDB_MEMO_192 7106
#define IDB_TAB_FROM_EDL_192 7125
#define IDB_TAB_MODIFIED_192 7128
#define IDB_TAB_SAVED_192 7129
#define IDB_OFFSET_ARROW_192 7132
#define IDB_OFFSET_ARROW_PRESSED_192 7133
#define IDB_SORT_DESCENDING_192 7137
#define IDB_SORT_ASCENDING_192 7138
#define IDB_SORT_NONE_192 7175
#define IDB_ABOUT_192 7184

#define IDI_APP 163       // large icon of the window class
#define IDI_APP_SMALL 168 // small icon of the window class
#define IDI_DOCUMENT 169  // icon of the project-file type (icon index 2 of the program file)

// ---- Menu and accelerator commands (40000 range) -----------------------------------------------
#define IDM_ABOUT 40017
#define IDM_EXIT 40018
#define IDM_SAVE_AS 40051
#define IDM_SAVE 40057
#define IDM_OFFSET 40062
#define IDM_TOGGLE_COMMENT 40066
#define IDM_CLEAR_SEARCH 40068
#define IDM_REGISTER_LAYOUT1 40069
#define IDM_REGISTER_LAYOUT2 40070
#define IDM_REGISTER_LAYOUT3 40071
#define IDM_REGISTER_LAYOUT4 40072
#define IDM_RECALL_LAYOUT1 40074
#define IDM_RECALL_LAYOUT2 40075
#define IDM_RECALL_LAYOUT3 40076
#define IDM_RECALL_LAYOUT4 40077
#define IDM_SEARCH 40084
#define IDM_WRITE_MEMO 40095
#define IDM_SELECT_ALL 40098
#define IDM_OPEN 40113
#define IDM_REEL_INFO 40127
#define IDM_CLOSE_TAB 40128
#define IDM_TEXT_LISTING 40152
#define IDM_SORT_RECORD 40163
#define IDM_SORT_DURATION 40164
#define IDM_SORT_SOURCE 40165
#define IDM_SET_MARKER 40203
#define IDM_MULTI_SELECT 40205
#define IDM_MARKER_SETTINGS 40208
#define IDM_EDIT_LOCATE 40211
#define IDM_SWITCH_VIEW 40222
#define IDM_DELETE_MARKER 40225
#define IDM_RESET_LAYOUT 40227
#define IDM_SORT_EDIT_ORDER 40235
#define IDM_COPY_MEMO 40246
#define IDM_EDL_EXPORT 40249
#define IDM_SIMPLE_NOTES 40256

// High word of the Open command sent at start-up; its lParam then holds the command line.
#define OPEN_FROM_COMMAND_LINE 500

// ---- Main window controls (below 1000) ---------------------------------------------------------
#define IDC_TAB 100
#define IDC_LIST 110
#define IDC_SRC_LOWER_OP 120
#define IDC_SRC_UPPER_OP 121
#define IDC_REC_LOWER_OP 122
#define IDC_REC_UPPER_OP 123
#define IDC_DUR_LOWER_OP 124
#define IDC_DUR_UPPER_OP 125
#define IDC_SEARCH_REEL 126
#define IDC_SEARCH_MARKER 127
#define IDC_VIEW 128
#define IDC_VIEW_REEL 129
#define IDC_MEMO 130
#define IDC_STATUS 132
#define IDC_LABEL_COUNT 200
#define IDC_LABEL_EDITS 201
#define IDC_LABEL_REELS 202
#define IDC_LABEL_VIEW 203
#define IDC_LABEL_COLUMNS 204
#define IDC_MARKER_CELL1 300 // marker cells 300..307
#define IDC_MARKER_CELL8 307
#define IDC_HIT_COUNTER 308
#define IDC_COUNT_MODE 309
#define IDC_EDIT_COUNT 310
#define IDC_REEL_COUNT 311
#define IDC_OFFSET_CELL 312
#define IDC_REEL_LINE 313
#define IDC_SRC_LOWER 314
#define IDC_SRC_UPPER 315
#define IDC_REC_LOWER 316
#define IDC_REC_UPPER 317
#define IDC_DUR_LOWER 318
#define IDC_DUR_UPPER 319
#define IDC_RULE_TOP 400
#define IDC_RULE_RIGHT 401
#define IDC_RULE_LEFT 402
#define IDC_WRITE_MEMO 501
#define IDC_TOGGLE_COMMENT 502
#define IDC_SEARCH 503
#define IDC_CLEAR_SEARCH 504
#define IDC_LAYOUT1 505 // column-layout buttons 505..508
#define IDC_LAYOUT4 508
#define IDC_OFFSET 509
#define IDC_MARKER 510
#define IDC_SIMPLE_NOTES 511
#define IDC_REEL_INFO 512
#define IDC_CHECK_REEL 600
#define IDC_CHECK_SOURCE 601
#define IDC_CHECK_RECORD 602
#define IDC_CHECK_DURATION 603
#define IDC_CHECK_MARKER 604

// ---- Offset, EDL export and listing dialogs ------------------------------------------------------
#define IDD_OFFSET 113
#define IDB_OFFSET_ARROW 132         // arrow of button 1044
#define IDB_OFFSET_ARROW_PRESSED 133 // the same arrow while the button is pressed
#define IDD_LISTING 159
#define IDD_EDL_EXPORT 176
#define IDC_OFFSET_ENTRY 1003 // offset: the new address
#define IDC_OFFSET_ORIGINAL 1043
#define IDC_OFFSET_COPY 1044
#define IDC_EXPORT_FOLDER 1003 // EDL export and listing: the destination folder
#define IDC_EXPORT_BROWSE 1064
#define IDC_EXPORT_NAME 1065
#define IDC_EXPORT_CONVERT 1055
#define IDC_LIST_VIEWER 1013 // listing: the three kinds
#define IDC_LIST_SEARCH 1014
#define IDC_LIST_REELS 1082
#define IDC_LIST_VIEWER_OPTION 1055 // comment boxes of the viewer-EDL group
#define IDC_LIST_VIEWER_WORK 1056
#define IDC_LIST_VIEWER_MARKER 1057
#define IDC_LIST_SEARCH_OPTION 1059 // of the search group
#define IDC_LIST_SEARCH_WORK 1060
#define IDC_LIST_SEARCH_MARKER 1061
#define IDC_LIST_REEL_OPTION 1062 // of the reel group
#define IDC_LIST_REEL_WORK 1081
#define IDC_LIST_REEL_MARKER 1063
#define IDC_LIST_ALL_REELS 1083
#define IDC_LIST_ONE_REEL 1084
#define IDC_LIST_REEL 1085
#define IDC_LIST_SORT 1088
#define IDC_LIST_CSV 1066

// ---- Version dialog ----------------------------------------------------------------------------
#define IDD_VERSION 40017
#define IDC_VERSION_CONTACT 1065

// ---- Timecode entry dialog and edit locate dialog ----------------------------------------------
#define IDD_TIMECODE_ENTRY 111
#define IDD_EDIT_LOCATE 174
#define IDC_ENTRY_NUMBER 1003 // the digits edit of both dialogs
#define IDC_ENTRY_DF 1013
#define IDC_ENTRY_NDF 1014

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---- Annotation dialogs: reel information 135, marker settings 172, simple notes 177 -----------
#define IDD_REEL_INFO 135
#define IDC_REEL_INFO_LIST 1052
#define IDC_REEL_INFO_EDIT 1003

#define IDD_MARKER_SETTINGS 172
#define IDC_MARKER_BOX1 1067 // colour boxes of kinds 1..8: 1067-1070, 1072-1075
#define IDC_MARKER_BOX2 1068
#define IDC_MARKER_BOX3 1069
#define IDC_MARKER_BOX4 1070
#define IDC_MARKER_BOX5 1072
#define IDC_MARKER_BOX6 1073
#define IDC_MARKER_BOX7 1074
#define IDC_MARKER_BOX8 1075
#define IDC_MARKER_NAME1 1071 // descriptions of kinds 1..8: 1071, 1011-1017
#define IDC_MARKER_NAME2 1011
#define IDC_MARKER_NAME3 1012
#define IDC_MARKER_NAME4 1013
#define IDC_MARKER_NAME5 1014
#define IDC_MARKER_NAME6 1015
#define IDC_MARKER_NAME7 1016
#define IDC_MARKER_NAME8 1017
#define IDC_MARKER_COLOUR_LABEL 1078
#define IDC_MARKER_NAME_LABEL 1080

#define IDD_SIMPLE_NOTES 177
#define IDC_NOTE_NEW 1044
#define IDC_NOTE_DELETE 1094
#define IDC_NOTE_LIST 1052
#define IDC_NOTE_TITLE 1003
#define IDC_NOTE_BODY 1065
