// The port box (control 1006) on Win32: "COM1" to "COM4", then the other
// serial ports that the system lists (see app/PortList.h). The list is only
// read from the registry; nothing is written there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names of the serial ports present: the data of the values under
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM. Empty when the key
// does not exist (a machine without serial ports) or cannot be read.
std::vector<std::string> presentSerialPorts();

// Fills the box with its items and shows the first ("COM1").
void fillPortBox(HWND box);

// Fills the box again with the ports present now (a device came or went);
// the text it shows, picked or typed, stays.
void refreshPortBox(HWND box);
