// Text lookup through the program's string table, in the user-interface
// language that the platform reports.
#pragma once

#include <windows.h>

#include "app/TextTable.h"

class Win32TextTable : public TextTable {
public:
    explicit Win32TextTable(HINSTANCE instance) : instance_(instance) {}
    std::string text(int id) const override;

private:
    HINSTANCE instance_;
};
