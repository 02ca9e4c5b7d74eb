// A transfer's progress on the program's taskbar button (ITaskbarList3,
// from Windows 7): a bar of done points of total, or the busy state while
// the total is unknown; nothing once the transfer has ended.
//
// The button is used only after the shell has announced it with the
// registered message "TaskbarButtonCreated", which the main window hands to
// buttonCreated(); the shell sends it again when it has been restarted. Where
// the system lacks the interface, or the shell never announces a button,
// this shows nothing and does nothing else. User-interface thread only.
#pragma once

#include <windows.h>

#include "link/win32/ProgressDisplay.h"

struct ITaskbarList3;

class TaskbarProgress : public ProgressDisplay {
public:
    explicit TaskbarProgress(HWND window);
    ~TaskbarProgress() override;
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // The window's button exists (again; g_taskbarButtonCreated,
    // win32/WindowMessages.h): connects to it and shows there what is to be
    // shown.
    void buttonCreated();

    void show(int done, int total) override;
    void clear() override;

private:
    enum class State { None, Busy, Bar };
    void apply();
    void release();

    HWND window_;
    bool comStarted_ = false;
    ITaskbarList3* taskbar_ = nullptr;
    State state_ = State::None;
    int done_ = 0;
    int total_ = 0;
    // What the button shows now, so that the state is set only on a change.
    State shown_ = State::None;
};
