#include "app/win32/PointDialog.h"

#include <optional>
#include <string>
#include <vector>

#include "app/PointDialogLogic.h"
#include "app/PointEntries.h"
#include "app/win32/Win32MessageBoxes.h"
#include "app/win32/Win32TextTable.h"
#include "points/PointRecord.h"
#include "resources/resource.h"

namespace {

class DialogEntries : public PointEntries {
public:
    explicit DialogEntries(HWND dialog) : dialog_(dialog) {}

    std::string read(int id, int maxChars) override {
        std::vector<char> text(static_cast<std::size_t>(maxChars) + 1, '\0');
        GetDlgItemTextA(dialog_, id, text.data(), maxChars + 1);
        return text.data();
    }
    void write(int id, const std::string& text) override {
        SetDlgItemTextA(dialog_, id, text.c_str());
    }
    void setLimit(int id, int maxChars) override {
        SendDlgItemMessageA(dialog_, id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }

private:
    HWND dialog_;
};

// Everything one run of the dialog works with; lives on runPointDialog's stack.
struct Session {
    PointRecord& point;
    const TextTable& texts;
    MessageBoxes& boxes;
    std::optional<DialogEntries> entries;
    std::optional<PointDialogLogic> logic;
};

Session* sessionOf(HWND dialog) {
    return reinterpret_cast<Session*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void cancel(HWND dialog, Session* session) {
    if (session && session->logic) session->logic->cancel();
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK pointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        Session* session = reinterpret_cast<Session*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (!session) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        session->entries.emplace(dialog);
        session->logic.emplace(session->point, *session->entries, session->texts, session->boxes);
        session->logic->open();
        return TRUE;   // the focus goes to the first tab stop, OK
    }
    case WM_COMMAND: {
        Session* session = sessionOf(dialog);
        switch (LOWORD(wParam)) {
        case IDOK:
            if (!session || !session->logic) {
                EndDialog(dialog, 0);
            } else if (session->logic->confirm()) {
                EndDialog(dialog, 1);
            }
            return TRUE;
        case IDCANCEL:
            cancel(dialog, session);
            return TRUE;
        default:
            return FALSE;
        }
    }
    case WM_CLOSE:
        cancel(dialog, sessionOf(dialog));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool runPointDialog(HWND owner, HINSTANCE instance, PointRecord& point) {
    Win32TextTable texts(instance);
    Win32MessageBoxes boxes(owner);   // the dialog's boxes have no owner window
    Session session{point, texts, boxes, std::nullopt, std::nullopt};
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_POINT), owner,
                                           pointDialogProc, reinterpret_cast<LPARAM>(&session));
    return result == 1;
}
