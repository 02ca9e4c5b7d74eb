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
// "RUVO_FAIL": wParam 0, lParam a WorkerFailure made with new; the worker
// has ended on an error and the main window reports it.
extern UINT g_ruvoFail;

struct WorkerFailure {
    int textId;              // a protocol text, or 0 for a platform error
    std::string systemText;  // the platform's text for its error code
};

// The platform's text for an error code, in the user's language.
std::string systemErrorText(DWORD code);
