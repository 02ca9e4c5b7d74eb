#include "RealtimeHost.h"

RealtimeHost::RealtimeHost(std::chrono::milliseconds giveUpAfter)
    : giveUpAt_(std::chrono::steady_clock::now() + giveUpAfter) {}

bool RealtimeHost::pause(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    if (until >= giveUpAt_) {
        until = giveUpAt_;
        gaveUp_ = true;
        stop_ = true;
    }
    changed_.wait_until(lock, until, [this] { return stop_ && !gaveUp_; });
    return !stop_;
}

void RealtimeHost::setTitle(const TransferTitle& title) {
    std::lock_guard<std::mutex> lock(mutex_);
    titles_.push_back(title);
}

void RealtimeHost::deliverPoint(PointRecord* point) {
    std::lock_guard<std::mutex> lock(mutex_);
    points_.emplace_back(point);
    changed_.notify_all();
}

const PointRecord* RealtimeHost::rowRecord(int row) {
    return row >= 0 && row < rowCount() ? rows[static_cast<std::size_t>(row)].get() : nullptr;
}

void RealtimeHost::requestStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    changed_.notify_all();
}

bool RealtimeHost::waitForPoints(std::size_t count, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return points_.size() >= count || !ending_.empty(); }) &&
           points_.size() >= count;
}

std::string RealtimeHost::ending() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ending_;
}

std::vector<TransferTitle> RealtimeHost::titles() {
    std::lock_guard<std::mutex> lock(mutex_);
    return titles_;
}

std::vector<std::unique_ptr<PointRecord>> RealtimeHost::takePoints() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(points_);
}

void RealtimeHost::end(const std::string& how) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ending_.empty()) ending_ = how;
    changed_.notify_all();
}
