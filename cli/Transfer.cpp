#include "cli/Transfer.h"

#include <chrono>
#include <memory>
#include <thread>

#include "cli/Console.h"
#include "cli/Report.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

// How often the command's thread looks for Ctrl-C while the worker runs.
constexpr auto kWatchInterval = std::chrono::milliseconds(20);

// "0003" as 3: a frame counter without its leading zeros.
std::string counter(const std::string& digits) {
    std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

}  // namespace

ConsoleHost::ConsoleHost(Report& report, std::function<bool(const PointRecord&)> onPoint, const PointStore* rows)
    : report_(report), onPoint_(std::move(onPoint)), rows_(rows) {}

bool ConsoleHost::pause(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
}

void ConsoleHost::setTitle(const TransferTitle& title) {
    switch (title.step) {
    case TransferTitle::Step::WaitingForInstrument:
        report_.program("waiting for the instrument (Ctrl-C stops)");
        break;
    case TransferTitle::Step::Received: {
        // The instrument's own total, where its frames carry one.
        std::string text = "received point " + std::to_string(title.count);
        if (title.counters.size() == 8) text += " of " + counter(title.counters.substr(4, 4));
        report_.program(text + ": " + lastName_);
        break;
    }
    case TransferTitle::Step::Sending: {
        const PointRecord* point = rowRecord(title.count - 1);
        report_.program("sending point " + std::to_string(title.count) + " of " + std::to_string(title.total) +
                        (point ? ": " + shownText(point->name) : std::string()));
        break;
    }
    }
}

void ConsoleHost::deliverPoint(PointRecord* point) {
    std::unique_ptr<PointRecord> owned(point);
    lastName_ = shownText(owned->name);
    ++received_;
    if (!onPoint_ || !onPoint_(*owned)) requestStop();
}

int ConsoleHost::rowCount() { return rows_ ? static_cast<int>(rows_->size()) : 0; }

const PointRecord* ConsoleHost::rowRecord(int row) {
    if (!rows_ || row < 0 || static_cast<std::size_t>(row) >= rows_->size()) return nullptr;
    return &rows_->at(static_cast<std::size_t>(row));
}

void ConsoleHost::failedPlatform() {
    reason_ = port_ ? port_->errorText() : std::string();
    end(TransferEnd::PortFailed);
}

void ConsoleHost::failedProtocol(ProtocolFault fault) {
    end(fault == ProtocolFault::TooManyPoints ? TransferEnd::TooManyPoints : TransferEnd::WrongOpening);
}

void ConsoleHost::failedInternally(WorkerFault) noexcept { end(TransferEnd::InternalFailure); }

void ConsoleHost::end(TransferEnd how) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ended_) return;
    ended_ = true;
    how_ = how;
    changed_.notify_all();
}

void ConsoleHost::requestStop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
}

TransferEnd ConsoleHost::run(WorkerBody body, ConsolePort& port, Console& console) {
    port_ = &port;
    std::thread worker([this, body, &port] {
        runGuarded(body, port, *this);
        end(TransferEnd::Stopped);  // no effect when the worker reported its end
    });
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!ended_) {
            changed_.wait_for(lock, kWatchInterval);
            if (stop_ || console.interrupted()) {
                stop_ = true;
                lock.unlock();
                changed_.notify_all();
                port.cancel();  // again each round, should a call have started since
                lock.lock();
            }
        }
    }
    worker.join();
    port.close();
    port_ = nullptr;
    return how_;
}
