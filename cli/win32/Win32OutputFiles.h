// Safe output on Windows, the way the window programs' Export writes: a new
// file made with CREATE_NEW beside the target, written, flushed to the disk
// and put in the target's place with ReplaceFileA (MoveFileExA when there is
// no target yet), which keeps the target's attributes and security.
#pragma once

#include "cli/OutputFiles.h"
#include "files/win32/Win32FileDialogs.h"

class Win32OutputFiles : public OutputFiles {
public:
    Win32OutputFiles() : platform_(nullptr, nullptr) {}
    std::FILE* openInput(const std::string& path) override;
    std::FILE* createBeside(const std::string& target, std::string& temp) override;
    bool commit(std::FILE* file, const std::string& temp, const std::string& target) override;
    void discard(std::FILE* file, const std::string& temp) override;
    std::string errorText() override;

private:
    Win32FileDialogs platform_;  // its file operations only; no dialog is shown
};
