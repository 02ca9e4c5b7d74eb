#include "cli/posix/PosixOutputFiles.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/FileBeside.h"

namespace {

// Where a target really is: a symbolic link is followed, so that the file
// it points to gets the new content and the link stays a link.
std::string resolved(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char real[PATH_MAX];
    if (!realpath(target.c_str(), real)) return target;  // a dangling link is replaced
    return real;
}

void syncFolder(const std::string& path) {
    std::string folder = folderOf(path);
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // a folder that cannot be synced has still renamed the file
    close(fd);
}

// Gives the new file the target's permission bits, and its owner where the
// program may change it (as root); a target that is missing leaves the new
// file as it was created.
bool takeOverAttributes(int fd, const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (access(target.c_str(), W_OK) != 0) return false;
    if ((st.st_uid != geteuid() || st.st_gid != getegid()) && fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Not the program's to give: the file keeps the user's own owner.
    }
    return fchmod(fd, st.st_mode & 07777) == 0;
}

// Renames temp to target; a target that did not exist when this began is
// never renamed over (a file that appeared meanwhile stays).
bool moveInPlace(const std::string& temp, const std::string& target, bool targetExisted) {
    if (targetExisted) return std::rename(temp.c_str(), target.c_str()) == 0;
    if (link(temp.c_str(), target.c_str()) == 0) {
        unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    // A file system without hard links (FAT on a USB stick): rename.
    return std::rename(temp.c_str(), target.c_str()) == 0;
}

}  // namespace

std::FILE* PosixOutputFiles::openInput(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* PosixOutputFiles::createBeside(const std::string& target, std::string& temp) {
    static unsigned next = static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() / 1000 + static_cast<unsigned>(getpid()));
    const std::string real = resolved(target);
    for (int attempt = 0; attempt < kBesideAttempts; ++attempt) {
        temp = besideName(real, next++);
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        if (std::FILE* file = fdopen(fd, "wb")) return file;
        int error = errno;
        close(fd);
        unlink(temp.c_str());
        errno = error;
        break;
    }
    temp.clear();
    return nullptr;
}

bool PosixOutputFiles::commit(std::FILE* file, const std::string& temp, const std::string& target) {
    const std::string real = resolved(target);
    struct stat st;
    const bool existed = stat(real.c_str(), &st) == 0;
    bool ok = std::fflush(file) == 0 && fsync(fileno(file)) == 0 && takeOverAttributes(fileno(file), real);
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !moveInPlace(temp, real, existed)) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = error;
        return false;
    }
    syncFolder(real);
    return true;
}

void PosixOutputFiles::discard(std::FILE* file, const std::string& temp) {
    int error = errno;
    std::fclose(file);
    unlink(temp.c_str());
    errno = error;
}

std::string PosixOutputFiles::errorText() { return std::strerror(errno); }
