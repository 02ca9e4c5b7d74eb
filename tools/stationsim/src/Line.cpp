#include "Line.h"

#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>

volatile int gLineInterrupted = 0;

namespace {
constexpr int kSliceMs = 5;
constexpr auto kByteTime = std::chrono::microseconds(8333);  // 10 bits at 1200 baud
}  // namespace

LineStatus Line::waitReadable(int sliceMs, bool& readable) {
    readable = false;
    if (gLineInterrupted) return LineStatus::Interrupted;
    if (options_.hasDeadline && Clock::now() >= options_.deadline) return LineStatus::TimedOut;
    pollfd p{pty_.masterFd(), POLLIN, 0};
    const int r = poll(&p, 1, sliceMs);
    if (r < 0) return errno == EINTR ? LineStatus::Ok : LineStatus::Failed;
    if (p.revents & POLLIN) {
        readable = true;
        return LineStatus::Ok;
    }
    if (p.revents & (POLLHUP | POLLERR)) return LineStatus::PeerClosed;
    return LineStatus::Ok;
}

LineStatus Line::read(std::uint8_t* data, std::size_t n) {
    std::size_t have = 0;
    while (have < n) {
        bool readable = false;
        const LineStatus s = waitReadable(kSliceMs, readable);
        if (s != LineStatus::Ok) return s;
        if (!readable) continue;
        const ssize_t got = ::read(pty_.masterFd(), data + have, n - have);
        if (got > 0) {
            if (have == 0) lastReadStart_ = Clock::now();
            have += static_cast<std::size_t>(got);
        } else if (got < 0 && errno == EIO) {
            return LineStatus::PeerClosed;
        } else if (got < 0 && errno != EAGAIN && errno != EINTR) {
            return LineStatus::Failed;
        }
    }
    dumpUnit(data, n);
    return LineStatus::Ok;
}

LineStatus Line::writeChunk(const std::uint8_t* data, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        if (gLineInterrupted) return LineStatus::Interrupted;
        if (!pty_.peerOpen()) return LineStatus::PeerClosed;
        if (options_.hasDeadline && Clock::now() >= options_.deadline) return LineStatus::TimedOut;
        const ssize_t put = ::write(pty_.masterFd(), data + done, n - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        } else if (put < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{pty_.masterFd(), POLLOUT, 0};
            poll(&p, 1, kSliceMs);
        } else {
            return errno == EIO ? LineStatus::PeerClosed : LineStatus::Failed;
        }
    }
    return LineStatus::Ok;
}

LineStatus Line::write(const std::uint8_t* data, std::size_t n) {
    LineStatus s = LineStatus::Ok;
    if (!options_.baudPace) {
        s = writeChunk(data, n);
    } else {
        const Clock::time_point start = Clock::now();
        for (std::size_t i = 0; i < n && s == LineStatus::Ok; ++i) {
            std::this_thread::sleep_until(start + kByteTime * static_cast<int>(i));
            s = writeChunk(data + i, 1);
        }
    }
    lastWriteEnd_ = Clock::now();
    return s;
}

LineStatus Line::pause(int ms) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        if (gLineInterrupted) return LineStatus::Interrupted;
        if (!pty_.peerOpen()) return LineStatus::PeerClosed;
        if (options_.hasDeadline && Clock::now() >= options_.deadline) return LineStatus::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
    }
    return LineStatus::Ok;
}

LineStatus Line::waitPeerClose(int ms, std::size_t& bytesSeen) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        bool readable = false;
        const LineStatus s = waitReadable(kSliceMs, readable);
        if (s == LineStatus::PeerClosed) return LineStatus::Ok;
        if (s != LineStatus::Ok) return s;
        if (!readable) continue;
        std::uint8_t junk[256];
        const ssize_t got = ::read(pty_.masterFd(), junk, sizeof junk);
        if (got > 0) {
            bytesSeen += static_cast<std::size_t>(got);
            dumpUnit(junk, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EIO) {
            return LineStatus::Ok;
        }
    }
    return LineStatus::StillOpen;
}

void Line::dumpUnit(const std::uint8_t* data, std::size_t n) {
    if (!options_.dump) return;
    for (std::size_t i = 0; i < n; ++i) std::fprintf(options_.dump, i ? " %02X" : "%02X", data[i]);
    std::fputc('\n', options_.dump);
    std::fflush(options_.dump);
}
