#include "link/win32/Win32LinkPlatform.h"

#include <mmsystem.h>

#include <memory>

#include "link/win32/ProgressDisplay.h"
#include "link/win32/Win32BytePort.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"
#include "win32/SystemErrorText.h"
#include "win32/WindowMessages.h"

namespace {

DWORD WINAPI workerMain(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 1;
}

}  // namespace

Win32LinkPlatform::Win32LinkPlatform(HWND mainWindow, const PointStore& points)
    : mainWindow_(mainWindow),
      points_(points),
      stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Win32LinkPlatform::~Win32LinkPlatform() {
    stopWorker();
    dropPendingTitle();
    CloseHandle(stopEvent_);
}

std::unique_ptr<BytePort> Win32LinkPlatform::openPort(const std::string& name) {
    auto port = Win32BytePort::open(name);
    if (!port) lastError_ = GetLastError();
    return port;
}

bool Win32LinkPlatform::startWorker(std::function<void()> body) {
    ResetEvent(stopEvent_);
    finished_ = false;
    rowsSent_ = 0;
    // Waits of a few milliseconds need the fine system timer while a
    // transfer runs; the default tick is about 16 ms.
    fineTimer_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    auto* parameter = new std::function<void()>(std::move(body));
    thread_ = CreateThread(nullptr, 0, workerMain, parameter, 0, nullptr);
    if (!thread_) {
        lastError_ = GetLastError();
        delete parameter;
        if (fineTimer_) timeEndPeriod(1);
        fineTimer_ = false;
        return false;
    }
    return true;
}

// Waits for the worker's thread to end, serving the messages it sends to
// the window meanwhile, so neither side blocks.
// False when limitMs passed first; the thread is then still ours.
bool Win32LinkPlatform::waitForWorker(DWORD limitMs) {
    if (!thread_) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (limitMs != INFINITE) {
            DWORD waited = GetTickCount() - start;
            left = waited >= limitMs ? 0 : limitMs - waited;
        }
        DWORD result = MsgWaitForMultipleObjects(1, &thread_, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_TIMEOUT) return false;
        if (result != WAIT_OBJECT_0 + 1) break;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread_);
    thread_ = nullptr;
    if (fineTimer_) timeEndPeriod(1);
    fineTimer_ = false;
    dropPendingTitle();
    pendingProgress_ = kNoProgress;
    if (progressDisplay_) progressDisplay_->clear();
    return true;
}

bool Win32LinkPlatform::stopWorker() {
    if (!thread_) return false;
    stopWorkerWithin(INFINITE);
    return finished_;
}

bool Win32LinkPlatform::stopWorkerWithin(DWORD limitMs) {
    if (!thread_) return true;
    SetEvent(stopEvent_);
    cancelPendingIo(thread_);
    return waitForWorker(limitMs);
}

void Win32LinkPlatform::releaseWorker() { waitForWorker(INFINITE); }

std::string Win32LinkPlatform::lastErrorText() { return systemErrorText(lastError_); }

int Win32LinkPlatform::takeRowsSent() { return rowsSent_.exchange(0); }

bool Win32LinkPlatform::pause(int ms) { return WaitForSingleObject(stopEvent_, static_cast<DWORD>(ms)) == WAIT_TIMEOUT; }

bool Win32LinkPlatform::stopRequested() { return WaitForSingleObject(stopEvent_, 0) == WAIT_OBJECT_0; }

// Replaces the waiting title, if any; only a title that found none waiting
// posts the message, so at most one is on its way.
void Win32LinkPlatform::setTitle(const TransferTitle& title) {
    TransferTitle* older = pendingTitle_.exchange(new TransferTitle(title));
    if (older) {
        delete older;
        return;
    }
    if (!PostMessageA(mainWindow_, g_ruvoTitle, 0, 0)) delete pendingTitle_.exchange(nullptr);
}

std::unique_ptr<TransferTitle> Win32LinkPlatform::takePendingTitle() {
    return std::unique_ptr<TransferTitle>(pendingTitle_.exchange(nullptr));
}

// As with titles, only figures that found none waiting post the message.
void Win32LinkPlatform::progress(int done, int total) {
    if (done < 0 || total < 0) return;
    const std::uint64_t figures = static_cast<std::uint64_t>(done) << 32 | static_cast<std::uint32_t>(total);
    if (pendingProgress_.exchange(figures) != kNoProgress) return;
    if (!PostMessageA(mainWindow_, g_ruvoProgress, 0, 0)) pendingProgress_ = kNoProgress;
}

void Win32LinkPlatform::showPendingProgress() {
    const std::uint64_t figures = pendingProgress_.exchange(kNoProgress);
    if (figures == kNoProgress || !progressDisplay_) return;
    progressDisplay_->show(static_cast<int>(figures >> 32), static_cast<int>(figures & 0xFFFFFFFFu));
}

void Win32LinkPlatform::dropPendingTitle() { delete pendingTitle_.exchange(nullptr); }

// No longer held back by the titles, a worker may run ahead of the window;
// should the window's message queue be full, the point waits for room
// instead of being lost.
void Win32LinkPlatform::deliverPoint(PointRecord* point) {
    while (!PostMessageA(mainWindow_, g_ruvoFrame, 0, reinterpret_cast<LPARAM>(point))) {
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || !pause(10)) {
            delete point;
            return;
        }
    }
}

void Win32LinkPlatform::finished() {
    finished_ = true;
    PostMessageA(mainWindow_, g_ruvoHead, 0, 0);
}

int Win32LinkPlatform::rowCount() { return static_cast<int>(points_.size()); }

const PointRecord* Win32LinkPlatform::rowRecord(int row) {
    return row >= 0 && static_cast<std::size_t>(row) < points_.size() ? &points_.at(static_cast<std::size_t>(row))
                                                                        : nullptr;
}

void Win32LinkPlatform::rowSent(int row) { rowsSent_ = row + 1; }

void Win32LinkPlatform::reportFailure(ProtocolFault fault, DWORD code) {
    PostMessageA(mainWindow_, g_ruvoFail, static_cast<WPARAM>(fault), static_cast<LPARAM>(code));
}

void Win32LinkPlatform::failedPlatform() { reportFailure(ProtocolFault::None, GetLastError()); }

void Win32LinkPlatform::failedProtocol(ProtocolFault fault) { reportFailure(fault, 0); }

void Win32LinkPlatform::failedInternally(WorkerFault fault) noexcept {
    reportFailure(ProtocolFault::None, fault == WorkerFault::NoMemory ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INTERNAL_ERROR);
}
