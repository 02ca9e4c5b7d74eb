#include "files/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/FileBeside.h"

namespace {

void syncFolder(const std::string& path) {
    const std::string folder = folderOf(path);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // a folder that cannot be synced has still renamed the file
    close(fd);
}

// Gives temp the permission bits of the existing target, and its owner
// where the program may change it (as root).
bool takeOverAttributes(const std::string& temp, const struct stat& target) {
    if ((target.st_uid != geteuid() || target.st_gid != getegid()) &&
        chown(temp.c_str(), target.st_uid, target.st_gid) != 0) {
        // Not the program's to give: the file keeps the user's own owner.
    }
    return chmod(temp.c_str(), target.st_mode & 07777) == 0;
}

}  // namespace

std::FILE* PosixFileSystem::createNewFile(const std::string& path, bool& taken) {
    taken = false;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        taken = errno == EEXIST;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        unlink(path.c_str());
        errno = error;
    }
    return file;
}

bool PosixFileSystem::replaceFile(const std::string& temp, const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) return false;
        // A missing target: a hard link takes its name only if nothing has
        // taken it meanwhile; a file system without hard links renames.
        if (link(temp.c_str(), target.c_str()) == 0) {
            unlink(temp.c_str());
        } else if (errno == EEXIST || std::rename(temp.c_str(), target.c_str()) != 0) {
            return false;
        }
        syncFolder(target);
        return true;
    }
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (access(target.c_str(), W_OK) != 0 || !takeOverAttributes(temp, st) ||
        std::rename(temp.c_str(), target.c_str()) != 0)
        return false;
    syncFolder(target);
    return true;
}

bool PosixFileSystem::isPlainFile(std::FILE* file) {
    struct stat st;
    return fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixFileSystem::startWriteback(std::FILE* file) {
#ifdef SYNC_FILE_RANGE_WRITE
    const int saved = errno;  // a refused request is no failure of the caller's
    sync_file_range(fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE);
    errno = saved;
#else
    (void)file;
#endif
}

std::string PosixFileSystem::lastErrorText() { return std::strerror(errno); }

std::FILE* PosixFileSystem::createScratchFile() { return std::tmpfile(); }
