// The point dialog (template 129): shows one point in five entries and takes
// them back into the same record on OK.
#pragma once

#include <windows.h>

class PointRecord;

// Runs the dialog modally, owned by owner, on point; true after a successful
// OK, false after Cancel, Escape or the close box (the record is then as it
// was when the dialog opened).
bool runPointDialog(HWND owner, HINSTANCE instance, PointRecord& point);
