// The items of the port box: "COM1" to "COM4" first, always and in this
// order, then every other serial port present on the machine.
//
// The ports present are the names the system lists for its serial devices
// (on Windows, the data of the values under HARDWARE\DEVICEMAP\SERIALCOMM),
// in any order and possibly with repeats. Each becomes an item as the bare
// name that Recv and Send open ("COM7"):
// - white space around a name and a leading "\\.\" are dropped;
// - "COM" and a number from 1 without leading zeros (any case) is a
//   numbered port, listed as "COM<n>"; numbered ports come in the order of
//   their numbers (COM9 before COM10), and COM1 to COM4 are not repeated;
// - any other name follows the numbered ports, as it stands, in alphabetical
//   order without regard to case;
// - a name is listed once, whatever its case; empty names, names with
//   control characters and names longer than kPortNameMax are left out,
//   since a transfer could not open them from the box.
#pragma once

#include <string>
#include <vector>

#include "link/PortName.h"

std::vector<std::string> portBoxItems(const std::vector<std::string>& present);
