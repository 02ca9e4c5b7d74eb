// The common Open and Save dialogs, owned by the main window.
#pragma once

#include <windows.h>

#include "app/FileDialogs.h"

class Win32FileDialogs : public FileDialogs {
public:
    Win32FileDialogs(HWND owner, HINSTANCE instance) : owner_(owner), instance_(instance) {}
    bool chooseOpenFile(std::string& fileName, const std::string& filter, FileChoice& choice) override;
    bool chooseSaveFile(std::string& fileName, const std::string& filter, FileChoice& choice) override;

private:
    bool choose(bool save, std::string& fileName, const std::string& filter, FileChoice& choice);
    HWND owner_;
    HINSTANCE instance_;
};
