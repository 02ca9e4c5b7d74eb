#include "FileDialogs.h"

#include "ComboBox.h"
#include "Controls.h"
#include "TopWindows.h"

namespace e2e {

namespace {

// The edit control that the user types the file name into.
HWND nameEdit(HWND dialog) {
    HWND field = control(dialog, kFileNameField);
    if (windowClass(field) == L"Edit") return field;
    HWND combo = FindWindowExW(field, nullptr, L"ComboBox", nullptr);
    HWND edit = FindWindowExW(combo ? combo : field, nullptr, L"Edit", nullptr);
    return edit ? edit : field;
}

}  // namespace

void setFileName(HWND dialog, const std::wstring& name) { setControlText(nameEdit(dialog), name); }

std::wstring fileName(HWND dialog) { return controlText(nameEdit(dialog)); }

std::vector<std::wstring> fileTypes(HWND dialog) { return comboItems(control(dialog, kFileTypeBox)); }

int fileType(HWND dialog) { return comboSelection(control(dialog, kFileTypeBox)); }

void chooseFileType(HWND dialog, int index) { comboChoose(control(dialog, kFileTypeBox), index); }

}  // namespace e2e
