// Filling in the common Open and Save dialogs.
//
// The file-name field is control 0x47C (a ComboBoxEx32 with an edit inside,
// or a plain edit in older layouts), the file-type box is combo box 0x470.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

const int kFileNameField = 0x47C;
const int kFileTypeBox = 0x470;

void setFileName(HWND dialog, const std::wstring& name);
std::wstring fileName(HWND dialog);
std::vector<std::wstring> fileTypes(HWND dialog);
int fileType(HWND dialog);  // 0-based index into fileTypes, -1 for none
// Chooses a file type as a user would, notification to the dialog included.
void chooseFileType(HWND dialog, int index);

}  // namespace e2e
