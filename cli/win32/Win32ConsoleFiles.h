// Safe output on Windows: files as the window programs' Export writes
// them, flushed to the disk with _commit; devices (NUL, CON) and pipes
// written into; names compared as the file system folds their case.
#pragma once

#include "cli/Console.h"
#include "files/win32/Win32FileSystem.h"

class Win32ConsoleFiles : public ConsoleFiles {
public:
    FileSystem& system() override { return system_; }
    bool syncToDisk(std::FILE* file) override;
    std::string realTarget(const std::string& target) override { return target; }
    // A reserved device name (NUL, CON, PRN, AUX, COM1 to COM9, LPT1 to
    // LPT9, with or without an extension or a folder) or anything the
    // system opens as a character device or a pipe ("\\.\pipe\...").
    std::FILE* openInPlace(const std::string& target, bool& inPlace) override;
    // Windows folders take names in any case for one file.
    bool foldsCase(const std::string&) override { return true; }
    // In the ANSI code page, compared with the system's ordinal case
    // folding, the one its file systems use.
    int compareFileNames(const std::string& a, const std::string& b, bool fold) override;

private:
    Win32FileSystem system_;
};
