#include "files/SafeReplace.h"

#include "files/FileBeside.h"
#include "files/FileSystem.h"

bool replaceSafely(FileSystem& files, const std::string& target, const std::function<bool(std::FILE*)>& write,
                   std::string& reason) {
    std::string temp;
    std::FILE* file = createFileBeside(files, target, temp);
    if (!file) {
        reason = files.lastErrorText();
        return false;
    }
    bool written = write(file);
    reason = written ? std::string() : files.lastErrorText();
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = files.lastErrorText();
    }
    if (written && !files.replaceFile(temp, target)) {
        written = false;
        reason = files.lastErrorText();
    }
    if (!written) std::remove(temp.c_str());
    return written;
}
