// The program's own modal dialogs, owned by the main window.
#pragma once

#include <string>

class CrsChoice;
class PointRecord;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows the point dialog on this record and edits it in place; true after
    // a successful OK, false after Cancel, Escape or the close box.
    virtual bool runPointDialog(PointRecord& point) = 0;
    virtual void runAboutBox() = 0;
    // Asks for the points' coordinate system, the entry starting with text:
    // each change of it shows choice.describe(), and OK closes only when
    // choice.confirm() takes it, leaving it in text. False after Cancel,
    // Escape or the close box.
    virtual bool runCrsDialog(CrsChoice& choice, std::string& text) = 0;
};
