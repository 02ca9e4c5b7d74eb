// A WorkerHost in real time for runs against the simulator: pauses sleep,
// a stop request ends them at once, and a give-up time stops a worker that
// would otherwise wait forever. Thread-safe between the worker and the
// thread that watches it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/WorkerHost.h"
#include "points/PointRecord.h"

class RealtimeHost : public WorkerHost {
public:
    explicit RealtimeHost(std::chrono::milliseconds giveUpAfter);

    bool pause(int ms) override;
    bool stopRequested() override { return stop_; }
    void setTitle(const TransferTitle& title) override;
    void progress(int, int) override {}
    void deliverPoint(PointRecord* point) override;
    void finished() override { end("finished"); }
    int rowCount() override { return static_cast<int>(rows.size()); }
    const PointRecord* rowRecord(int row) override;
    void rowSent(int) override {}
    void failedPlatform() override { end("failedPlatform"); }
    void failedProtocol(ProtocolFault fault) override {
        end("failedProtocol:" + std::to_string(static_cast<int>(fault)));
    }
    void failedInternally(WorkerFault) noexcept override {
        try {
            end("failedInternally");
        } catch (...) {
        }
    }

    void requestStop();
    bool gaveUp() const { return gaveUp_; }

    // Waits until at least count points have been delivered.
    bool waitForPoints(std::size_t count, std::chrono::milliseconds limit);

    std::string ending();                  // "" while running
    std::vector<TransferTitle> titles();
    std::vector<std::unique_ptr<PointRecord>> takePoints();

    std::vector<std::unique_ptr<PointRecord>> rows;

private:
    void end(const std::string& how);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> gaveUp_{false};
    std::chrono::steady_clock::time_point giveUpAt_;
    std::string ending_;
    std::vector<TransferTitle> titles_;
    std::vector<std::unique_ptr<PointRecord>> points_;
};
