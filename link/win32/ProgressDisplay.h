// Where a transfer's progress shows outside the main window's caption (the
// program's taskbar button). Called on the user-interface thread only.
#pragma once

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    // done points of total have gone; a total of 0 means that the total is
    // not known, so the display only shows that the transfer runs.
    virtual void show(int done, int total) = 0;

    // The transfer has ended: nothing shows any more.
    virtual void clear() = 0;
};
