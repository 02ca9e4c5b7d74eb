// Safe output on POSIX: a new file made with O_EXCL beside the target,
// written, fsync'ed, given the target's permission bits (and, when the
// program may, its owner), then renamed over the target, and the folder
// fsync'ed. A target that is a symbolic link is written where it points.
#pragma once

#include "cli/OutputFiles.h"

class PosixOutputFiles : public OutputFiles {
public:
    std::FILE* openInput(const std::string& path) override;
    std::FILE* createBeside(const std::string& target, std::string& temp) override;
    bool commit(std::FILE* file, const std::string& temp, const std::string& target) override;
    void discard(std::FILE* file, const std::string& temp) override;
    std::string errorText() override;
};
