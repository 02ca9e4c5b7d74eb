// Safe output on POSIX: the POSIX file system, fsync, and symbolic links
// followed to the file they name.
#pragma once

#include "cli/Console.h"
#include "files/posix/PosixFileSystem.h"

class PosixConsoleFiles : public ConsoleFiles {
public:
    FileSystem& system() override { return system_; }
    bool syncToDisk(std::FILE* file) override;
    std::string realTarget(const std::string& target) override;

private:
    PosixFileSystem system_;
};
