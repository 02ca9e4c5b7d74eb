// The platform's exclusive creation and replacement of files, and its words
// for a failed file operation.
#pragma once

#include <windows.h>

#include "files/FileSystem.h"

class Win32FileSystem : public FileSystem {
public:
    std::FILE* createNewFile(const std::string& path, bool& taken) override;
    bool replaceFile(const std::string& temp, const std::string& target) override;
    // A file in the user's folder for temporary files, made to be deleted
    // when its last handle closes.
    std::FILE* createScratchFile() override;
    // A file on a disk (GetFileType), not a console, pipe or device.
    bool isPlainFile(std::FILE* file) override;
    std::string lastErrorText() override;
};
