#include "app/win32/PortBox.h"

#include "app/PortList.h"

namespace {

void addItems(HWND box) {
    for (const std::string& item : portBoxItems(presentSerialPorts()))
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

}  // namespace

std::vector<std::string> presentSerialPorts() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD nameLength = sizeof valueName;
        char data[256];
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        LONG result = RegEnumValueA(key, index, valueName, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data), &dataLength);
        if (result == ERROR_MORE_DATA) continue;  // far too long for a port name
        if (result != ERROR_SUCCESS) break;       // ERROR_NO_MORE_ITEMS at the end
        if (type != REG_SZ) continue;
        // The stored string need not end with its terminator.
        data[dataLength] = '\0';
        names.emplace_back(data);
    }
    RegCloseKey(key);
    return names;
}

void fillPortBox(HWND box) {
    addItems(box);
    SendMessageA(box, CB_SETCURSEL, 0, 0);
}

void refreshPortBox(HWND box) {
    char shown[256] = {};
    GetWindowTextA(box, shown, sizeof shown);
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    addItems(box);
    LRESULT item = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown));
    if (item != CB_ERR)
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    else
        SetWindowTextA(box, shown);
}
