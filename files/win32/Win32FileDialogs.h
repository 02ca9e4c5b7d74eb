// The common Open and Save dialogs, and the platform's exclusive creation
// and replacement of files.
#pragma once

#include <windows.h>

#include "files/FileDialogs.h"

class Win32FileDialogs : public FileDialogs {
public:
    Win32FileDialogs(HWND owner, HINSTANCE instance) : owner_(owner), instance_(instance) {}
    bool chooseOpenFile(std::string& fileName, const std::string& filter, FileChoice& choice) override;
    bool chooseSaveFile(std::string& fileName, const std::string& filter, FileChoice& choice) override;
    std::FILE* createNewFile(const std::string& path, bool& taken) override;
    bool replaceFile(const std::string& temp, const std::string& target) override;
    std::string lastErrorText() override;

private:
    bool choose(bool save, std::string& fileName, const std::string& filter, FileChoice& choice);
    HWND owner_;
    HINSTANCE instance_;
};
