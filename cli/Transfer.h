// One transfer with an instrument from the console: the worker of its
// family runs on a thread of its own (as in the window programs), with this
// host as its view of the program, while the command's thread watches for
// Ctrl-C. A stop asks the worker to stop, cancels its port call in progress
// and waits for it; the worker then touches the port no more, and the
// command closes the port, which puts the device's settings back.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

#include "link/WorkerGuard.h"
#include "link/WorkerHost.h"

class Console;
class ConsolePort;
class PointStore;
class Report;

// How a transfer ended.
enum class TransferEnd {
    Finished,         // the worker's normal end
    PortFailed,       // a port call failed (reason: the port's words)
    WrongOpening,     // the instrument opened with other bytes
    TooManyPoints,    // the frames cannot count the points
    InternalFailure,  // the worker itself failed (no memory)
    Stopped,          // Ctrl-C, or the command stopped it (reason given)
};

class ConsoleHost : public WorkerHost {
public:
    // A receive hands each point to onPoint, on the worker's thread; onPoint
    // returns false to stop the transfer (having reported why). A send reads
    // its points from rows.
    ConsoleHost(Report& report, std::function<bool(const PointRecord&)> onPoint, const PointStore* rows);

    bool pause(int ms) override;
    bool stopRequested() override { return stop_; }
    void setTitle(const TransferTitle& title) override;
    void progress(int, int) override {}
    void deliverPoint(PointRecord* point) override;
    void finished() override { end(TransferEnd::Finished); }
    int rowCount() override;
    const PointRecord* rowRecord(int row) override;
    void rowSent(int row) override { sent_ = row + 1; }
    void failedPlatform() override;
    void failedProtocol(ProtocolFault fault) override;
    void failedInternally(WorkerFault fault) noexcept override;

    // Runs body over port to its end, stopping it when the console is
    // interrupted; then closes the port. The ending and, for a failed port,
    // its words.
    TransferEnd run(WorkerBody body, ConsolePort& port, Console& console);
    const std::string& reason() const { return reason_; }
    int received() const { return received_; }
    int sent() const { return sent_; }

    // Asks the worker to stop (any thread).
    void requestStop();

private:
    void end(TransferEnd how);

    Report& report_;
    std::function<bool(const PointRecord&)> onPoint_;
    const PointStore* rows_;
    ConsolePort* port_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> stop_{false};
    bool ended_ = false;  // under mutex_
    TransferEnd how_ = TransferEnd::Stopped;
    std::string reason_;
    std::string lastName_;
    std::atomic<int> received_{0};
    std::atomic<int> sent_{0};
};
