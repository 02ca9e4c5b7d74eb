#include "cli/posix/PosixConsoleFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "files/FileBeside.h"

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// What is written into rather than replaced: anything but a file or a folder.
bool writtenInto(mode_t mode) { return !S_ISREG(mode) && !S_ISDIR(mode); }

}  // namespace

bool PosixConsoleFiles::syncToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

std::string PosixConsoleFiles::realTarget(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char real[PATH_MAX];
    if (!realpath(target.c_str(), real)) return target;  // a dangling link is replaced itself
    return real;
}

std::FILE* PosixConsoleFiles::openInPlace(const std::string& target, bool& inPlace) {
    struct stat st;
    inPlace = stat(target.c_str(), &st) == 0 && writtenInto(st.st_mode);
    if (!inPlace) return nullptr;
    const int fd = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

bool PosixConsoleFiles::foldsCase(const std::string& folder) {
    std::string probe;
    std::FILE* file = createFileBeside(system_, folder.empty() || folder.back() == '/' ? folder + "x" : folder + "/x",
                                       probe);
    if (!file) return false;
    std::fclose(file);
    const std::size_t nameAt = probe.rfind('/') + 1;  // 0 without a folder
    std::string capitals = probe;
    for (std::size_t i = nameAt; i < capitals.size(); ++i) capitals[i] = upper(capitals[i]);
    struct stat own, other;
    const bool folds = capitals != probe && stat(probe.c_str(), &own) == 0 &&
                       stat(capitals.c_str(), &other) == 0 && own.st_dev == other.st_dev &&
                       own.st_ino == other.st_ino;
    unlink(probe.c_str());
    return folds;
}

int PosixConsoleFiles::compareFileNames(const std::string& a, const std::string& b, bool fold) {
    if (!fold) return a.compare(b);
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(upper(a[i])), y = static_cast<unsigned char>(upper(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
