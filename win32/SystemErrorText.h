// The platform's words for an error code, in the user's language.
#pragma once

#include <windows.h>

#include <string>

std::string systemErrorText(DWORD code);
