// The name of the serial port that a transfer opens, as the user picked or
// typed it in the port box.
#pragma once

#include <cstddef>

// The longest port name a transfer takes from the port box; a longer text
// is cut to this many characters.
constexpr std::size_t kPortNameMax = 19;
