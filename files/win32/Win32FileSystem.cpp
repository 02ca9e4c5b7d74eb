#include "files/win32/Win32FileSystem.h"

#include <fcntl.h>
#include <io.h>

#include "files/FileBeside.h"
#include "win32/SystemErrorText.h"

std::FILE* Win32FileSystem::createNewFile(const std::string& path, bool& taken) {
    taken = false;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        // Some systems refuse a name held by a folder with another code.
        taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        SetLastError(error);
        return nullptr;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        DeleteFileA(path.c_str());
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        DeleteFileA(path.c_str());
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return file;
}

// An existing target is replaced with ReplaceFileA, which gives the new file
// the target's attributes, security and creation time. A backup of the
// target under a reserved name of our own makes every documented outcome
// leave the target whole: the replaced file then keeps its name on every
// failure but ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, after which it waits under
// the backup's name and is moved back.
bool Win32FileSystem::replaceFile(const std::string& temp, const std::string& target) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
        return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);  // what opening it for writing gives
        return false;
    }
    std::string backup;
    std::FILE* reserved = createFileBeside(*this, target, backup);
    if (!reserved) return false;
    std::fclose(reserved);
    if (ReplaceFileA(target.c_str(), temp.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
        DeleteFileA(backup.c_str());
        return true;
    }
    DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // Should the old file not go back, it stays under the backup's name
        // rather than being lost.
        MoveFileExA(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    } else {
        DeleteFileA(backup.c_str());
    }
    SetLastError(error);
    return false;
}

bool Win32FileSystem::isPlainFile(std::FILE* file) {
    const intptr_t handle = _get_osfhandle(_fileno(file));
    return handle != -1 && GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_DISK;
}

std::FILE* Win32FileSystem::createScratchFile() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t path[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"rvo", 0, path) == 0) return nullptr;
    // GetTempFileNameW made the file; it is opened again to be deleted on close.
    HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        DeleteFileW(path);
        SetLastError(error);
        return nullptr;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w+b");
    if (!file) _close(fd);
    return file;
}

std::string Win32FileSystem::lastErrorText() { return systemErrorText(GetLastError()); }
