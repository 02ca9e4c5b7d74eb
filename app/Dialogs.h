// The program's own modal dialogs, owned by the main window.
#pragma once

class PointRecord;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows the point dialog on this record and edits it in place; true after
    // a successful OK, false after Cancel, Escape or the close box.
    virtual bool runPointDialog(PointRecord& point) = 0;
    virtual void runAboutBox() = 0;
};
