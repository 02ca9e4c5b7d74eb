// The main window (template 102): its dialog procedure dispatches messages
// and commands to the program's AppState.
#pragma once

#include <windows.h>

class AppState;

// Runs the main window modally; returns the dialog's result (0 on Close).
INT_PTR runMainWindow(HINSTANCE instance, AppState& app);
