#include "app/win32/TaskbarProgress.h"

#include <objbase.h>
#include <shobjidl.h>

#include "win32/WindowMessages.h"

namespace {

// Lets the shell's message through to a program that runs with higher
// rights than the shell (Windows 7 and later; absent before).
void allowMessageFromShell(HWND window, UINT message) {
    using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto filter = reinterpret_cast<FilterFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    const DWORD kAllow = 1;  // MSGFLT_ALLOW
    if (filter && message) filter(window, message, kAllow, nullptr);
}

}  // namespace

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
    allowMessageFromShell(window, g_taskbarButtonCreated);
}

TaskbarProgress::~TaskbarProgress() {
    release();
    if (comStarted_) CoUninitialize();
}

void TaskbarProgress::release() {
    if (taskbar_) taskbar_->Release();
    taskbar_ = nullptr;
    shown_ = State::None;
}

void TaskbarProgress::buttonCreated() {
    release();  // a restarted shell has forgotten the old connection
    if (!comStarted_) {
        HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(started) && started != RPC_E_CHANGED_MODE) return;
        comStarted_ = SUCCEEDED(started);  // only a successful start is undone
    }
    void* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &taskbar)) ||
        !taskbar)
        return;
    taskbar_ = static_cast<ITaskbarList3*>(taskbar);
    if (FAILED(taskbar_->HrInit())) {
        release();
        return;
    }
    apply();
}

void TaskbarProgress::show(int done, int total) {
    state_ = total > 0 ? State::Bar : State::Busy;
    done_ = done;
    total_ = total;
    apply();
}

void TaskbarProgress::clear() {
    state_ = State::None;
    apply();
}

void TaskbarProgress::apply() {
    if (!taskbar_) return;
    if (state_ != shown_) {
        TBPFLAG flag = state_ == State::Bar ? TBPF_NORMAL : state_ == State::Busy ? TBPF_INDETERMINATE : TBPF_NOPROGRESS;
        if (FAILED(taskbar_->SetProgressState(window_, flag))) return;
        shown_ = state_;
    }
    if (state_ == State::Bar)
        taskbar_->SetProgressValue(window_, static_cast<ULONGLONG>(done_), static_cast<ULONGLONG>(total_));
}
