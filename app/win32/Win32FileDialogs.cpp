#include "app/win32/Win32FileDialogs.h"

#include <commdlg.h>

#include <cstring>

bool Win32FileDialogs::choose(bool save, std::string& fileName, const std::string& filter, FileChoice& choice) {
    char name[1024] = {};
    std::strncpy(name, fileName.c_str(), sizeof name - 1);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner_;
    dialog.hInstance = instance_;
    dialog.lpstrFilter = filter.c_str();
    // No custom-filter buffer: an empty one shows as a stray first file type
    // on some systems, and the user's own pattern names no format anyway.
    dialog.lpstrCustomFilter = nullptr;
    dialog.nMaxCustFilter = 0;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    // The Save dialog must accept a name that does not exist yet.
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | (save ? 0 : OFN_FILEMUSTEXIST);

    BOOL ok = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!ok) return false;
    fileName = name;
    choice.filterIndex = static_cast<int>(dialog.nFilterIndex);
    choice.fileOffset = dialog.nFileOffset;
    return true;
}

bool Win32FileDialogs::chooseOpenFile(std::string& fileName, const std::string& filter, FileChoice& choice) {
    return choose(false, fileName, filter, choice);
}

bool Win32FileDialogs::chooseSaveFile(std::string& fileName, const std::string& filter, FileChoice& choice) {
    return choose(true, fileName, filter, choice);
}
