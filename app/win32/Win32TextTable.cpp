#include "app/win32/Win32TextTable.h"

std::string Win32TextTable::text(int id) const {
    char buffer[1024];
    int length = LoadStringA(instance_, static_cast<UINT>(id), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}
