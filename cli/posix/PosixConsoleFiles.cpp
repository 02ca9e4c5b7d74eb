#include "cli/posix/PosixConsoleFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

bool PosixConsoleFiles::syncToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

std::string PosixConsoleFiles::realTarget(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char real[PATH_MAX];
    if (!realpath(target.c_str(), real)) return target;  // a dangling link is replaced itself
    return real;
}
