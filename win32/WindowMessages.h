// Every window message the programs register by name (the names are in
// resources/resource.h), registered among the static initialisers, before
// the main window exists. What they carry:
#pragma once

#include <windows.h>

// "RUVO_FRAME": wParam 0, lParam a PointRecord made with new whose ownership
// passes to the main window with the message.
extern const UINT g_ruvoFrame;
// "RUVO_HEAD": both parameters 0; the worker has closed the port and ends.
extern const UINT g_ruvoHead;
// "RUVO_FAIL": the worker has ended on an error and the main window reports
// it. wParam a ProtocolFault (link/WorkerHost.h), or 0 (None) for a platform
// error whose code is lParam (taken on the worker's thread, where it was
// set). Nothing is allocated for it, so a worker without memory can still
// report.
extern const UINT g_ruvoFail;
// "RUVO_TITLE": both parameters 0; a progress title waits for the main
// window (link/win32/Win32LinkPlatform.h).
extern const UINT g_ruvoTitle;
// "RUVO_PROGRESS": both parameters 0; progress figures wait for the main
// window (link/win32/Win32LinkPlatform.h).
extern const UINT g_ruvoProgress;
// "TaskbarButtonCreated", the shell's: the program's taskbar button exists
// (again) (app/win32/TaskbarProgress.h).
extern const UINT g_taskbarButtonCreated;
