// Starting the programs under test and collecting their exit codes.
//
// The driver starts the program itself, so it knows the program's process id
// (to tell its windows from those of programs that other tests run at the
// same time) and holds a handle to read the exit code.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

// Starts the program with extra environment entries ("NAME=value", replacing
// inherited ones of the same name). Returns the process id; throws DriverError.
DWORD launchProgram(const std::wstring& path, const std::wstring& arguments,
                    const std::vector<std::wstring>& environment);

// Waits up to timeoutMs for the exit of a process started here or any other
// process; false on time-out.
bool waitProcessExit(DWORD pid, DWORD timeoutMs, DWORD* exitCode);
bool processAlive(DWORD pid);
void killProcess(DWORD pid);

}  // namespace e2e
