#include "ComboBox.h"

#include "Controls.h"
#include "DriverError.h"

namespace e2e {

std::vector<std::wstring> comboItems(HWND combo) {
    LRESULT count = sendOrThrow(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR) throw DriverError("CB_GETCOUNT failed");
    std::vector<std::wstring> items;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = sendOrThrow(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) throw DriverError("CB_GETLBTEXTLEN failed");
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = sendOrThrow(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        if (copied == CB_ERR) throw DriverError("CB_GETLBTEXT failed");
        text.resize(static_cast<size_t>(copied));
        items.push_back(text);
    }
    return items;
}

int comboSelection(HWND combo) { return static_cast<int>(sendOrThrow(combo, CB_GETCURSEL, 0, 0)); }

void comboChoose(HWND combo, int index) {
    if (sendOrThrow(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR && index >= 0)
        throw DriverError("no item " + std::to_string(index));
    HWND owner = GetParent(combo);
    int id = GetDlgCtrlID(combo);
    // A pick from the drop-down list sends both; dialogs listen to either.
    postOrThrow(owner, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    postOrThrow(owner, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

}  // namespace e2e
