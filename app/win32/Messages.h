// Window messages registered by name at start-up, and the program's own
// message for a worker that failed.
#pragma once

#include <windows.h>

#include <string>

// "RUVO_FRAME": wParam 0, lParam a PointRecord made with new whose ownership
// passes to the main window with the message.
extern UINT g_ruvoFrame;
// "RUVO_HEAD": both parameters 0; the worker has closed the port and ends.
extern UINT g_ruvoHead;
// "RUVO_FAIL": the worker has ended on an error and the main window reports
// it. wParam a ProtocolFault (link/WorkerHost.h), or 0 (None) for a platform
// error whose code is lParam (taken on the worker's thread, where it was set). Nothing is
// allocated for it, so a worker without memory can still report.
extern UINT g_ruvoFail;

// The platform's text for an error code, in the user's language.
std::string systemErrorText(DWORD code);
