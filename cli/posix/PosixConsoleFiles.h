// Safe output on POSIX: the POSIX file system, fsync, symbolic links
// followed to the file they name, FIFOs and devices written into, and
// case-insensitive folders told by trying one.
#pragma once

#include "cli/Console.h"
#include "files/posix/PosixFileSystem.h"

class PosixConsoleFiles : public ConsoleFiles {
public:
    FileSystem& system() override { return system_; }
    bool syncToDisk(std::FILE* file) override;
    std::string realTarget(const std::string& target) override;
    std::FILE* openInPlace(const std::string& target, bool& inPlace) override;
    // A file of the program's own is made in the folder and looked for
    // under its name in capitals; a folder where that cannot be done is
    // taken as case-sensitive, as POSIX folders are.
    bool foldsCase(const std::string& folder) override;
    // Folding is that of ASCII letters, the one that such folders share.
    int compareFileNames(const std::string& a, const std::string& b, bool fold) override;

private:
    PosixFileSystem system_;
};
