#include "cli/win32/Win32OutputFiles.h"

#include <io.h>

#include "files/FileBeside.h"

std::FILE* Win32OutputFiles::openInput(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* Win32OutputFiles::createBeside(const std::string& target, std::string& temp) {
    return createFileBeside(platform_, target, temp);
}

bool Win32OutputFiles::commit(std::FILE* file, const std::string& temp, const std::string& target) {
    // _commit hands the file's buffers to the disk (FlushFileBuffers).
    bool ok = std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
    DWORD error = GetLastError();
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = GetLastError();
    }
    if (ok && !platform_.replaceFile(temp, target)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp.c_str());
        SetLastError(error);
    }
    return ok;
}

void Win32OutputFiles::discard(std::FILE* file, const std::string& temp) {
    DWORD error = GetLastError();
    std::fclose(file);
    DeleteFileA(temp.c_str());
    SetLastError(error);
}

std::string Win32OutputFiles::errorText() { return platform_.lastErrorText(); }
