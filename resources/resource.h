// Every id of the programs, written once: the dialog templates, the
// controls, the texts of the string table, and the names of the window
// messages they register. The resource scripts read the #defines; the C++
// code reads them too, under the names of the enums below; the end-to-end
// tests read this file (tests/e2e/harness.py).
#pragma once

// ---- Dialog templates and the icon -----------------------------------------
#define IDD_MAIN 102
#define IDI_PROGRAM 102
#define IDD_POINT 129
#define IDD_ABOUT 131
#define IDD_CRS 135

// ---- The main window's controls (template IDD_MAIN) ------------------------
#define IDC_CLOSE 1         // the Close button, and Enter (IDOK)
#define IDC_CANCEL_KEY 2    // Escape (IDCANCEL); no control
#define IDC_IMPORT 3
#define IDC_EXPORT 4
#define IDC_RECV 5
#define IDC_SEND 6
#define IDC_LIST 1000
#define IDC_APPEND 1002
#define IDC_DELETE 1003
#define IDC_EDIT 1004
#define IDC_CLEARALL 1005
#define IDC_PORT 1006
#define IDC_ABOUT 1008

// ---- The list's menu (a right-click or the menu key on the list) ----------
#define IDM_LIST_PLOT 1100     // opens the plot window
#define IDM_LIST_CAD_GIS 1101  // writes the list for CAD and GIS (csv, dxf, geojson, landxml)

// ---- The point dialog's entries (template IDD_POINT) -----------------------
#define IDC_POINT_NAME 1003
#define IDC_POINT_MARK 1004
#define IDC_POINT_N 1005
#define IDC_POINT_E 1006
#define IDC_POINT_Z 1007

// ---- The coordinate-system dialog's controls (template IDD_CRS) -------------
#define IDC_CRS_TEXT 1201  // the entry: an EPSG code or PROJ text
#define IDC_CRS_NAME 1202  // the line under it: the system's name, or why none

// ---- Texts of the string table (resources/texts.rc.in) ---------------------
// 1 to 32 are the program's table; 40 and up name failures that the table
// has no words for. A text's arguments are noted with it; texts.rc.in may
// order them freely with numbered conversions ("%2$d"; app/TextFill.h).
#define IDS_HEADER_NAME 1
#define IDS_HEADER_MARK 2
#define IDS_HEADER_N 3
#define IDS_HEADER_E 4
#define IDS_HEADER_Z 5
#define IDS_IDLE_TITLE 7
#define IDS_CANCEL 8
#define IDS_SEND_LABEL 9
#define IDS_RECV_LABEL 10
#define IDS_OPENING_PORT 11
#define IDS_WAIT_SYNC 12
#define IDS_FRAME_HEAD_ERROR 13
#define IDS_KORVEL_PROGRESS 14       // 8 %c: the frame's counters, the point's number then the total
#define IDS_SEND_PROGRESS 15         // %d point, %d total
#define IDS_CANCELLED 16
#define IDS_UNSAVED_QUESTION 18
#define IDS_RECEIVE_FINISHED 19
#define IDS_SEND_OVER 20
#define IDS_TASSIN_PROGRESS 21       // %d points received
#define IDS_FORMAT_RUVO 22
#define IDS_FORMAT_TOPCOM 23
#define IDS_FORMAT_SV300 24
#define IDS_FORMAT_GUANGZHOU_KASS 25
#define IDS_FORMAT_SOUTH_KASS 26
#define IDS_INPUT_EMPTY 27
#define IDS_BAD_CHARACTER 28
#define IDS_MISPLACED_SIGN 29
#define IDS_TWO_POINTS 30
#define IDS_OVERFLOW 31
#define IDS_NAME_EMPTY 32
#define IDS_CANNOT_OPEN_FILE 40      // %s file name, %s system reason
#define IDS_CANNOT_WRITE_FILE 41     // %s file name, %s system reason
#define IDS_READ_ERROR 42            // %s file name, %s system reason
#define IDS_UNKNOWN_FILE_TYPE 43
#define IDS_POINT_DOES_NOT_FIT 44    // %d row, %s name, %s format name
#define IDS_TOO_MANY_POINTS 45       // %d limit, %d rows
#define IDS_POINT_CANNOT_TRAVEL 46   // %d row, %s name
#define IDS_NO_ROOM_FOR_POINTS 48    // %d points the list keeps
#define IDS_PLOT_MENU 49             // the list's menu entry that opens the plot
#define IDS_PLOT_CAPTION 50
#define IDS_PLOT_COUNT 51            // %d points drawn
#define IDS_PLOT_COUNT_LEFT_OUT 52   // %d points drawn, %d left out
#define IDS_PLOT_EMPTY 53            // the hint of the plot of an empty list
#define IDS_PLOT_HELP 54             // how to move about the plot
#define IDS_CAD_GIS_MENU 55          // the list's menu entry that writes the list for CAD and GIS
#define IDS_NOT_IN_CODE_PAGE 56      // %d row, %s name, %s format name
#define IDS_CONTROL_CHARACTER 57     // %d row, %s name, %s format name
#define IDS_NO_POSITION 58           // %d row, %s name, %s format name
#define IDS_OUTSIDE_AREA 59          // %d points, %s coordinate system
#define IDS_CRS_HINT 60              // the coordinate-system dialog's line while its entry is empty

// ---- Registered window messages --------------------------------------------
// Registered by name (RegisterWindowMessageA) in win32/WindowMessages.cpp.
#define MESSAGE_NAME_FRAME "RUVO_FRAME"        // a received point for the list
#define MESSAGE_NAME_HEAD "RUVO_HEAD"          // a transfer's normal end
#define MESSAGE_NAME_FAIL "RUVO_FAIL"          // a transfer's failure
#define MESSAGE_NAME_TITLE "RUVO_TITLE"        // a transfer's progress title waits
#define MESSAGE_NAME_PROGRESS "RUVO_PROGRESS"  // a transfer's progress figures wait
// The plot window's, for tests: where a row's mark is, how long the last
// picture took (app/win32/PlotWindow.h, which registers them in the builds
// with RUVO_TEST_HOOKS, all but the release builds).
#ifdef RUVO_TEST_HOOKS
#define MESSAGE_NAME_PLOT_WHERE "RUVO_PLOT_WHERE"
#define MESSAGE_NAME_PLOT_PAINT_TIME "RUVO_PLOT_PAINT_TIME"
#endif
// The plot window's class name.
#define PLOT_WINDOW_CLASS "RuvoPlotWindow"
// The shell's own: the program's taskbar button exists (again).
#define MESSAGE_NAME_TASKBAR_BUTTON "TaskbarButtonCreated"

#ifndef RC_INVOKED

// The same ids under the names the C++ code uses.
enum ControlId {
    kIdClose = IDC_CLOSE,
    kIdCancelKey = IDC_CANCEL_KEY,
    kIdImport = IDC_IMPORT,
    kIdExport = IDC_EXPORT,
    kIdRecv = IDC_RECV,
    kIdSend = IDC_SEND,
    kIdList = IDC_LIST,
    kIdAppend = IDC_APPEND,
    kIdDelete = IDC_DELETE,
    kIdEdit = IDC_EDIT,
    kIdClearAll = IDC_CLEARALL,
    kIdPortBox = IDC_PORT,
    kIdAbout = IDC_ABOUT,
};

// The list's menu entries that AppState carries out (the plot's is the
// window's own).
enum MenuId {
    kMenuListCadGis = IDM_LIST_CAD_GIS,
};

enum PointEntryId {
    kEntryName = IDC_POINT_NAME,
    kEntryMark = IDC_POINT_MARK,
    kEntryN = IDC_POINT_N,
    kEntryE = IDC_POINT_E,
    kEntryZ = IDC_POINT_Z,
};

enum TextId {
    kTextHeaderName = IDS_HEADER_NAME,
    kTextHeaderMark = IDS_HEADER_MARK,
    kTextHeaderN = IDS_HEADER_N,
    kTextHeaderE = IDS_HEADER_E,
    kTextHeaderZ = IDS_HEADER_Z,
    kTextIdleTitle = IDS_IDLE_TITLE,
    kTextCancel = IDS_CANCEL,
    kTextSendLabel = IDS_SEND_LABEL,
    kTextRecvLabel = IDS_RECV_LABEL,
    kTextOpeningPort = IDS_OPENING_PORT,
    kTextWaitSync = IDS_WAIT_SYNC,
    kTextFrameHeadError = IDS_FRAME_HEAD_ERROR,
    kTextKorvelProgress = IDS_KORVEL_PROGRESS,
    kTextSendProgress = IDS_SEND_PROGRESS,
    kTextCancelled = IDS_CANCELLED,
    kTextUnsavedQuestion = IDS_UNSAVED_QUESTION,
    kTextReceiveFinished = IDS_RECEIVE_FINISHED,
    kTextSendOver = IDS_SEND_OVER,
    kTextTassinProgress = IDS_TASSIN_PROGRESS,
    kTextFormatRuvo = IDS_FORMAT_RUVO,
    kTextFormatTopCom = IDS_FORMAT_TOPCOM,
    kTextFormatSV300 = IDS_FORMAT_SV300,
    kTextFormatGuangZhouKass = IDS_FORMAT_GUANGZHOU_KASS,
    kTextFormatSouthKass = IDS_FORMAT_SOUTH_KASS,
    kTextInputEmpty = IDS_INPUT_EMPTY,
    kTextBadCharacter = IDS_BAD_CHARACTER,
    kTextMisplacedSign = IDS_MISPLACED_SIGN,
    kTextTwoPoints = IDS_TWO_POINTS,
    kTextOverflow = IDS_OVERFLOW,
    kTextNameEmpty = IDS_NAME_EMPTY,
    kTextCannotOpenFile = IDS_CANNOT_OPEN_FILE,
    kTextCannotWriteFile = IDS_CANNOT_WRITE_FILE,
    kTextReadError = IDS_READ_ERROR,
    kTextUnknownFileType = IDS_UNKNOWN_FILE_TYPE,
    kTextPointDoesNotFit = IDS_POINT_DOES_NOT_FIT,
    kTextTooManyPoints = IDS_TOO_MANY_POINTS,
    kTextPointCannotTravel = IDS_POINT_CANNOT_TRAVEL,
    kTextNoRoomForPoints = IDS_NO_ROOM_FOR_POINTS,
    kTextPlotMenu = IDS_PLOT_MENU,
    kTextPlotCaption = IDS_PLOT_CAPTION,
    kTextPlotCount = IDS_PLOT_COUNT,
    kTextPlotCountLeftOut = IDS_PLOT_COUNT_LEFT_OUT,
    kTextPlotEmpty = IDS_PLOT_EMPTY,
    kTextPlotHelp = IDS_PLOT_HELP,
    kTextCadGisMenu = IDS_CAD_GIS_MENU,
    kTextNotInCodePage = IDS_NOT_IN_CODE_PAGE,
    kTextControlCharacter = IDS_CONTROL_CHARACTER,
    kTextNoPosition = IDS_NO_POSITION,
    kTextOutsideArea = IDS_OUTSIDE_AREA,
    kTextCrsHint = IDS_CRS_HINT,
};

#endif  // RC_INVOKED
