// The file system of a POSIX system: files created with O_EXCL, and a
// finished file put in its target's place by rename, with the target's
// permission bits (and owner, where the program may give it), and the
// folder synced so that the new name survives a crash.
#pragma once

#include "files/FileSystem.h"

class PosixFileSystem : public FileSystem {
public:
    std::FILE* createNewFile(const std::string& path, bool& taken) override;
    // A target that the user may not write (access(W_OK)) is refused, as a
    // read-only file is on Windows.
    bool replaceFile(const std::string& temp, const std::string& target) override;
    // A file of tmpfile(), in the system's folder for them.
    std::FILE* createScratchFile() override;
    // A regular file (fstat).
    bool isPlainFile(std::FILE* file) override;
    // On Linux, sync_file_range's request to write the whole file's dirty
    // pages; elsewhere nothing.
    void startWriteback(std::FILE* file) override;
    std::string lastErrorText() override;
};
