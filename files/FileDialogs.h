// The platform's Open and Save dialogs and the file operations that Import
// and Export need beyond standard C streams.
#pragma once

#include <cstddef>
#include <cstdio>
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

    // Creates path as a new, empty file, open for writing in binary mode.
    // Never opens or truncates what exists: when the name is taken (by a file
    // or a folder), returns nullptr with taken set. On any other failure
    // returns nullptr with taken clear.
    virtual std::FILE* createNewFile(const std::string& path, bool& taken) = 0;

    // Puts the finished, closed file temp (in target's folder) in target's
    // place. A missing target: temp takes its name, never over a file that
    // appeared meanwhile. An existing target: replaced so that the file keeps
    // the target's attributes and permissions; a read-only target or a folder
    // is refused. Returns true when target holds temp's bytes and temp's name
    // is free; false when target is as it was, whole and under its name, and
    // temp is still under its own name for the caller to remove.
    virtual bool replaceFile(const std::string& temp, const std::string& target) = 0;

    // The platform's text for the last failed file operation (fopen, fwrite,
    // createNewFile, replaceFile...), in the user's language.
    virtual std::string lastErrorText() = 0;
};
