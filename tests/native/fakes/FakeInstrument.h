// A scripted instrument on a fake serial line, for tests of the transfer
// workers. Time is virtual: it moves only when the worker pauses through
// FakeHost::pause, so tests run instantly and always the same way.
//
// FakePort releases the instrument's bytes by a script of steps. Each step
// waits until the PC has made a given number of writes, then a delay, then
// puts its bytes into the input queue. Steps run in order; a step's delay
// counts from the later of the write it waits for and the previous release.
// Every write, the close and every call after a failure or a close are
// recorded.
//
// FakeHost records titles (in a family's English words), delivered points
// and the worker's end calls in an event log that it shares with the port
// (the progress figures apart, in progress), so the order of port writes
// and host calls can be checked. It can stop the transfer at a virtual time,
// and stops by itself after a virtual hour so that a worker that would wait
// forever ends the test (timedOut() tells).
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/TransferTitle.h"
#include "app/families/FamilyTable.h"
#include "link/BytePort.h"
#include "link/WorkerHost.h"
#include "points/PointRecord.h"
#include "Points.h"
#include "ResourceTexts.h"

namespace fake {

using Bytes = std::vector<std::uint8_t>;

inline std::string hex(const std::uint8_t* data, std::size_t n) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", data[i]);
        out += byte;
    }
    return out;
}
inline std::string hex(const Bytes& b) { return hex(b.data(), b.size()); }

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct World {
    long now = 0;                     // virtual milliseconds
    bool stopped = false;             // the host has told the worker to stop
    std::vector<std::string> events;  // "write:<hex>", "close", "title:<text>", "point", ...
};

class FakePort : public BytePort {
public:
    explicit FakePort(World& world) : world_(world) {}

    // The instrument sends bytes delayMs after the previous step.
    FakePort& sends(const Bytes& bytes, long delayMs = 0) {
        steps_.push_back({lastWrites(), delayMs, bytes});
        return *this;
    }
    // The instrument sends bytes delayMs after the PC's writeCount-th write.
    FakePort& afterWrite(int writeCount, const Bytes& bytes, long delayMs = 0) {
        steps_.push_back({writeCount, delayMs, bytes});
        return *this;
    }
    // The instrument sends bytes one at a time, msPerByte apart (1200 baud is
    // about 8 ms a byte), the first msPerByte after the previous step.
    FakePort& trickles(const Bytes& bytes, long msPerByte) {
        for (std::uint8_t b : bytes) steps_.push_back({lastWrites(), msPerByte, Bytes{b}});
        return *this;
    }
    FakePort& afterWriteTrickles(int writeCount, const Bytes& bytes, long msPerByte) {
        bool first = true;
        for (std::uint8_t b : bytes) {
            steps_.push_back({first ? writeCount : lastWrites(), msPerByte, Bytes{b}});
            first = false;
        }
        return *this;
    }

    // The n-th call (from 1) of the kind fails.
    int failQueuedAt = 0, failReadAt = 0, failWriteAt = 0;

    bool queued(std::size_t& count) override {
        if (touch()) return false;
        if (++queuedCalls == failQueuedAt) return fail();
        release();
        count = queue_.size();
        return true;
    }
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override {
        if (touch()) return false;
        if (++readCalls == failReadAt) return fail();
        release();
        got = 0;
        while (got < n && !queue_.empty()) {
            data[got++] = queue_.front();
            queue_.pop_front();
        }
        return true;
    }
    bool write(const std::uint8_t* data, std::size_t n) override {
        if (touch()) return false;
        if (++writeCalls == failWriteAt) return fail();
        writes.emplace_back(data, data + n);
        writeTimes.push_back(world_.now);
        world_.events.push_back("write:" + hex(data, n));
        release();
        return true;
    }
    void close() override {
        if (!closed) world_.events.push_back("close");
        closed = true;
    }

    Bytes written() const {
        Bytes all;
        for (const Bytes& w : writes) all.insert(all.end(), w.begin(), w.end());
        return all;
    }
    std::size_t pendingInput() {
        release();
        return queue_.size();
    }
    bool allReleased() {
        release();
        return next_ == steps_.size();
    }

    std::vector<Bytes> writes;
    std::vector<long> writeTimes;
    std::vector<long> releaseTimes;  // virtual time at which each step's bytes were queued
    int queuedCalls = 0, readCalls = 0, writeCalls = 0;
    bool closed = false;
    bool failed = false;
    int callsAfterEnd = 0;   // calls made after a failure or after close
    int callsAfterStop = 0;  // calls made after the host told the worker to stop

private:
    struct Step {
        int writes;
        long delayMs;
        Bytes bytes;
        long readyAt = -1;
    };

    int lastWrites() const { return steps_.empty() ? 0 : steps_.back().writes; }

    bool touch() {
        if (world_.stopped) ++callsAfterStop;
        if (failed || closed) {
            ++callsAfterEnd;
            return true;
        }
        return false;
    }
    bool fail() {
        failed = true;
        world_.events.push_back("port-failed");
        return false;
    }
    void release() {
        while (next_ < steps_.size()) {
            Step& step = steps_[next_];
            if (static_cast<int>(writes.size()) < step.writes) return;
            if (step.readyAt < 0) {
                long from = step.writes > 0 ? writeTimes[static_cast<std::size_t>(step.writes) - 1] : 0;
                if (!releaseTimes.empty() && releaseTimes.back() > from) from = releaseTimes.back();
                step.readyAt = from + step.delayMs;
            }
            if (world_.now < step.readyAt) return;
            queue_.insert(queue_.end(), step.bytes.begin(), step.bytes.end());
            releaseTimes.push_back(step.readyAt);
            ++next_;
        }
    }

    World& world_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::deque<std::uint8_t> queue_;
};

// The program's English texts of a family, read once.
inline const TextTable& englishTexts(const InstrumentFamily& family) {
    static std::map<const InstrumentFamily*, std::unique_ptr<rc::ProgramTexts>> tables;
    auto& table = tables[&family];
    if (!table) table = std::make_unique<rc::ProgramTexts>(family.modelName);
    return *table;
}

inline std::string faultName(ProtocolFault fault) {
    switch (fault) {
    case ProtocolFault::WrongOpening: return "wrong-opening";
    case ProtocolFault::TooManyPoints: return "too-many-points";
    default: return "none";
    }
}

class FakeHost : public WorkerHost {
public:
    // Titles are logged as the family's program words them in English.
    explicit FakeHost(World& world, const InstrumentFamily& family = kKorvelFamily)
        : world_(world), family_(family) {}

    long stopAtMs = -1;            // virtual time of the user's cancel, -1 never
    long giveUpAtMs = 3600 * 1000; // a wait this long means the worker would hang

    bool pause(int ms) override {
        pauses.push_back(ms);
        if (stopped_) return false;
        const long target = world_.now + ms;
        if (stopAtMs >= 0 && target >= stopAtMs) return stopNow(stopAtMs);
        if (target >= giveUpAtMs) {
            timedOut_ = true;
            return stopNow(giveUpAtMs);
        }
        world_.now = target;
        return true;
    }
    bool stopRequested() override {
        if (stopAtMs >= 0 && world_.now >= stopAtMs) stopped_ = world_.stopped = true;
        return stopped_;
    }
    void setTitle(const TransferTitle& title) override {
        titles.push_back(transferTitleText(family_, englishTexts(family_), title));
        world_.events.push_back("title:" + titles.back());
    }
    void progress(int done, int total) override { progressFigures.push_back({done, total}); }
    void deliverPoint(PointRecord* point) override {
        points.emplace_back(point);
        world_.events.push_back("point");
    }
    void finished() override { world_.events.push_back("finished"); }
    int rowCount() override {
        ++rowCountCalls;
        return static_cast<int>(rows.size());
    }
    const PointRecord* rowRecord(int row) override {
        return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)].get()
                                                                : nullptr;
    }
    void rowSent(int row) override { sent.push_back(row); }
    void failedPlatform() override { world_.events.push_back("failedPlatform"); }
    void failedProtocol(ProtocolFault fault) override { world_.events.push_back("failedProtocol:" + faultName(fault)); }
    void failedInternally(WorkerFault fault) noexcept override {
        world_.events.push_back(fault == WorkerFault::NoMemory ? "failedInternally:no-memory"
                                                               : "failedInternally:internal");
    }

    // The user cancels now (from a test that drives the host by hand).
    void requestStop() { stopped_ = world_.stopped = true; }
    bool timedOut() const { return timedOut_; }

    PointRecord& addRow(const char* name, const char* mark, double n, double e, double z) {
        rows.push_back(std::make_unique<PointRecord>());
        fillPoint(*rows.back(), name, mark, n, e, z);
        return *rows.back();
    }

    std::vector<int> pauses;
    std::vector<std::string> titles;
    std::vector<std::pair<int, int>> progressFigures;  // (done, total) in order
    std::vector<std::unique_ptr<PointRecord>> points;
    std::vector<std::unique_ptr<PointRecord>> rows;
    std::vector<int> sent;  // rows whose frames went out, as the worker told
    int rowCountCalls = 0;

private:
    bool stopNow(long at) {
        world_.now = at;
        stopped_ = world_.stopped = true;
        world_.events.push_back("stopped");
        return false;
    }

    World& world_;
    const InstrumentFamily& family_;
    bool stopped_ = false;
    bool timedOut_ = false;
};

// Events of the log that start with prefix, in order.
inline std::vector<std::string> eventsStarting(const World& world, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : world.events)
        if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    return out;
}

}  // namespace fake
