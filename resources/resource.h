// Resource ids shared by the resource scripts and the Win32 code.
#pragma once

#define IDD_MAIN 102
#define IDI_PROGRAM 102
#define IDD_POINT 129
#define IDD_ABOUT 131

#define IDC_LIST 1000
#define IDC_IMPORT 3
#define IDC_EXPORT 4
#define IDC_RECV 5
#define IDC_SEND 6
#define IDC_APPEND 1002
#define IDC_DELETE 1003
#define IDC_EDIT 1004
#define IDC_CLEARALL 1005
#define IDC_PORT 1006
#define IDC_ABOUT 1008

#define IDC_POINT_NAME 1003
#define IDC_POINT_MARK 1004
#define IDC_POINT_N 1005
#define IDC_POINT_E 1006
#define IDC_POINT_Z 1007
