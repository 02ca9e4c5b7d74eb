// Where the running program is: PROJ's database, proj.db, ships beside the
// programs there.
#pragma once

#include <string>

// The folder of the running program, in UTF-8, as PROJ takes paths; "."
// when the system does not say.
std::string programFolder();
