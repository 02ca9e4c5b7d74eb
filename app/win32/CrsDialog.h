// The coordinate-system dialog (template 135) of the KML and GeoJSON in
// WGS 84: an entry for an EPSG code or PROJ text, and under it the
// system's name as it is typed (app/CrsChoice.h decides what it says).
#pragma once

#include <windows.h>

#include <string>

class CrsChoice;

// Runs the dialog modally, owned by owner, its entry starting with text;
// true after an OK that choice confirmed, with the entry in text (UTF-8);
// false after Cancel, Escape or the close box.
bool runCrsDialog(HWND owner, HINSTANCE instance, CrsChoice& choice, std::string& text);
