#include "cli/win32/Win32ConsoleFiles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstring>

namespace {

// The file-name part of a path, without its extension, in capitals.
std::string deviceStem(std::string name) {
    if (!name.empty() && name.back() == ':') name.pop_back();  // "NUL:" names the device as "NUL" does
    const std::size_t start = name.find_last_of("\\/:");
    if (start != std::string::npos) name.erase(0, start + 1);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool reservedDeviceName(const std::string& path) {
    const std::string stem = deviceStem(path);
    for (const char* device : {"NUL", "CON", "PRN", "AUX"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

enum class Opened { AsDevice, AsFile, Not };

// What the system opens path as, without reading or writing it.
Opened openedAs(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Opened::Not;
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE ? Opened::AsDevice : Opened::AsFile;
}

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &result[0], n);
    return result;
}

}  // namespace

bool Win32ConsoleFiles::syncToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

std::FILE* Win32ConsoleFiles::openInPlace(const std::string& target, bool& inPlace) {
    // A device that cannot be opened without access (the console) still
    // goes by its reserved name; an existing file never does.
    const Opened opened = openedAs(target);
    inPlace = opened == Opened::AsDevice || (opened == Opened::Not && reservedDeviceName(target));
    if (!inPlace) return nullptr;
    HANDLE handle = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return file;
}

int Win32ConsoleFiles::compareFileNames(const std::string& a, const std::string& b, bool fold) {
    const std::wstring x = wide(a), y = wide(b);
    const int order = CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                           static_cast<int>(y.size()), fold ? TRUE : FALSE);
    return order == CSTR_LESS_THAN ? -1 : order == CSTR_GREATER_THAN ? 1 : 0;
}
