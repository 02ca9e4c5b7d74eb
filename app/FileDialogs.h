// The platform's Open and Save dialogs, owned by the main window.
#pragma once

#include <cstddef>
#include <string>

struct FileChoice {
    int filterIndex = 0;          // 1-based file type chosen; 0 = the user's own pattern
    std::size_t fileOffset = 0;   // where the file-name part starts in the chosen name
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // Shows the dialog, starting with fileName and the first file type of
    // filter (pairs of display text and pattern, each NUL-terminated, the
    // list ended by one more NUL). On OK stores the chosen name in fileName,
    // fills choice and returns true; on Cancel returns false and changes
    // nothing.
    virtual bool chooseOpenFile(std::string& fileName, const std::string& filter, FileChoice& choice) = 0;
    virtual bool chooseSaveFile(std::string& fileName, const std::string& filter, FileChoice& choice) = 0;
};
