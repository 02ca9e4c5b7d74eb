#include "app/win32/CrsDialog.h"

#include "app/CrsChoice.h"
#include "resources/resource.h"

namespace {

// The dialog's controls are Unicode; the choice and PROJ take UTF-8.
std::wstring wide(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(units > 0 ? units : 0, L'\0');
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &text[0], units);
    return text;
}

std::string utf8Of(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    const int units = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), units, &out[0], bytes, nullptr, nullptr);
    return out;
}

// Lives on runCrsDialog's stack.
struct Session {
    CrsChoice& choice;
    std::string& text;
};

void show(HWND dialog, const std::string& line) {
    SetDlgItemTextW(dialog, IDC_CRS_NAME, wide(line).c_str());
}

INT_PTR CALLBACK crsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Session* session = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        session = reinterpret_cast<Session*>(lParam);
        // Setting the entry's text sends EN_CHANGE, which shows its line.
        SetDlgItemTextW(dialog, IDC_CRS_TEXT, wide(session->text).c_str());
        show(dialog, session->choice.describe(session->text));
        return TRUE;  // the focus goes to the entry, the first tab stop
    case WM_COMMAND:
        if (!session) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_CRS_TEXT:
            if (HIWORD(wParam) != EN_CHANGE) return FALSE;
            show(dialog, session->choice.describe(utf8Of(GetDlgItem(dialog, IDC_CRS_TEXT))));
            return TRUE;
        case IDOK: {
            const std::string typed = utf8Of(GetDlgItem(dialog, IDC_CRS_TEXT));
            std::string shown;
            const bool taken = session->choice.confirm(typed, shown);
            show(dialog, shown);
            if (taken) {
                session->text = typed;
                EndDialog(dialog, 1);
            } else {
                SetFocus(GetDlgItem(dialog, IDC_CRS_TEXT));
            }
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool runCrsDialog(HWND owner, HINSTANCE instance, CrsChoice& choice, std::string& text) {
    Session session{choice, text};
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CRS), owner, crsDialogProc,
                           reinterpret_cast<LPARAM>(&session)) == 1;
}
