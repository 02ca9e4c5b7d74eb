// Transfer support on Win32: the serial port, the worker thread, and the
// worker's view of the main window (title, posted points) and of the points
// (read from the store itself, which does not change while a send runs).
//
// A stop is cooperative: stopWorker sets an event that every wait of the
// worker watches, cancels a write in progress and waits for the thread to
// end while serving the calls the worker makes into the window meanwhile.
//
// Progress titles never hold the worker up: setTitle leaves the newest title
// for the user-interface thread and posts g_ruvoTitle (win32/
// WindowMessages.h) when none is waiting; the main window then takes it
// with takePendingTitle and shows it in its words. The worker's reply to the
// instrument therefore does not wait for the window, which may be busy
// adding the previous row. Posted after the point and before the end or
// failure message, a title shows in the same order as it was set. A title
// still waiting when the worker is stopped or released is dropped, so none
// appears after the transfer has ended.
//
// Progress figures travel the same way (g_ruvoProgress, then
// showPendingProgress) to the ProgressDisplay, if one is set; when the
// worker has ended, however it ended, the display is cleared.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "link/LinkPlatform.h"
#include "link/WorkerHost.h"

class ProgressDisplay;
class PointStore;

class Win32LinkPlatform : public LinkPlatform, private WorkerHost {
public:
    Win32LinkPlatform(HWND mainWindow, const PointStore& points);
    ~Win32LinkPlatform() override;

    std::unique_ptr<BytePort> openPort(const std::string& name) override;
    bool startWorker(std::function<void()> body) override;
    bool stopWorker() override;
    // As stopWorker, but waits no longer than limitMs for the worker to end.
    // False when it still runs then (held in a port call that the system
    // could not cancel); the worker is then left to end with the process.
    bool stopWorkerWithin(DWORD limitMs);
    void releaseWorker() override;
    WorkerHost& workerHost() override { return *this; }
    std::string lastErrorText() override;
    int takeRowsSent() override;

    // The main window's answer to g_ruvoTitle: the newest title not yet
    // taken, or nothing.
    std::unique_ptr<TransferTitle> takePendingTitle();

    // The main window's answer to g_ruvoProgress: shows the waiting figures.
    void showPendingProgress();
    // Where the figures show; nullptr: nowhere. Must outlive this object or
    // be unset before it goes.
    void setProgressDisplay(ProgressDisplay* display) { progressDisplay_ = display; }

private:
    // WorkerHost, called on the worker's thread.
    bool pause(int ms) override;
    bool stopRequested() override;
    void setTitle(const TransferTitle& title) override;
    void progress(int done, int total) override;
    void deliverPoint(PointRecord* point) override;
    void finished() override;
    int rowCount() override;
    const PointRecord* rowRecord(int row) override;
    void rowSent(int row) override;
    void failedPlatform() override;
    void failedProtocol(ProtocolFault fault) override;
    void failedInternally(WorkerFault fault) noexcept override;

    bool waitForWorker(DWORD limitMs);
    void reportFailure(ProtocolFault fault, DWORD code);
    void dropPendingTitle();

    HWND mainWindow_;
    const PointStore& points_;
    HANDLE stopEvent_;
    HANDLE thread_ = nullptr;
    DWORD lastError_ = 0;
    bool fineTimer_ = false;
    // The newest title not yet shown. Non-null only while a title message
    // is on its way to the window, so a setTitle that finds it non-null
    // need not post another.
    std::atomic<TransferTitle*> pendingTitle_{nullptr};
    // The newest progress figures not yet shown, done in the high and total
    // in the low 32 bits; kNoProgress while no message is on its way.
    static constexpr std::uint64_t kNoProgress = ~std::uint64_t{0};
    std::atomic<std::uint64_t> pendingProgress_{kNoProgress};
    ProgressDisplay* progressDisplay_ = nullptr;
    // Set by the worker just before it reports its normal end.
    std::atomic<bool> finished_{false};
    // Rows the send worker has written, for the window once it has ended.
    std::atomic<int> rowsSent_{0};
};
