#include "link/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

constexpr int kDrainMs = 1000;

std::string reason(int error) {
    switch (error) {
    case EWOULDBLOCK:
    case EBUSY:
        return "the port is in use by another program";
    case ENOTTY:
        return "not a serial port";
    case ETIMEDOUT:
        return "the line did not take the bytes within 5 seconds";
    case ECANCELED:
        return "stopped";
    case EPIPE:
        return "the device is gone (hung up)";
    default:
        return std::strerror(error);
    }
}

void applyLineSettings(termios& t) {
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B1200);
    cfsetospeed(&t, B1200);
}

}  // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::open(const std::string& device, std::string& error) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = reason(errno);
        return nullptr;
    }
    auto refuse = [&](int code) {
        ::close(fd);
        error = reason(code);
        return nullptr;
    };
    termios saved{};
    if (!isatty(fd) || tcgetattr(fd, &saved) != 0) return refuse(ENOTTY);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return refuse(errno);
    if (ioctl(fd, TIOCEXCL) != 0) return refuse(errno);
    termios line = saved;
    applyLineSettings(line);
    if (tcsetattr(fd, TCSANOW, &line) != 0) {
        const int code = errno;
        ioctl(fd, TIOCNXCL);
        return refuse(code);
    }
    tcflush(fd, TCIOFLUSH);  // nothing from before the open counts
    return std::unique_ptr<PosixSerialPort>(new PosixSerialPort(fd, saved));
}

// EIO is how a tty tells that its device has gone (hung up).
bool PosixSerialPort::fail(int error) {
    error_ = error == EIO ? EPIPE : error;
    return false;
}

bool PosixSerialPort::queued(std::size_t& count) {
    ++queuedCalls_;
    if (fd_ < 0) return fail(EBADF);
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) return fail(errno);
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return fail(EPIPE);
    int n = 0;
    if (ioctl(fd_, FIONREAD, &n) != 0) return fail(errno);
    count = n > 0 ? static_cast<std::size_t>(n) : 0;
    return true;
}

bool PosixSerialPort::read(std::uint8_t* data, std::size_t n, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return fail(EBADF);
    const ssize_t r = ::read(fd_, data, n);
    if (r > 0) got = static_cast<std::size_t>(r);
    if (r < 0 && errno != EAGAIN && errno != EINTR) return fail(errno);
    return true;
}

bool PosixSerialPort::write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return fail(EBADF);
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    std::size_t done = 0;
    while (done < n) {
        if (cancel_) return fail(ECANCELED);
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR) return fail(errno);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - Clock::now()).count();
        if (left <= 0) return fail(ETIMEDOUT);
        // Short waits, so that a cancel is seen within 10 ms.
        pollfd p{fd_, POLLOUT, 0};
        poll(&p, 1, left < 10 ? static_cast<int>(left) : 10);
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return fail(EPIPE);
    }
    return true;
}

void PosixSerialPort::close() {
    if (fd_ < 0) return;
    if (cancel_) {
        tcflush(fd_, TCIOFLUSH);  // a stop ends the output at once
    } else {
        // What was written goes out before the settings change; bytes that
        // have not arrived at the other side are not thrown away.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDrainMs);
        int left = 0;
        while (ioctl(fd_, TIOCOUTQ, &left) == 0 && left > 0 && std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, 0, 0};
            poll(&p, 1, 5);
        }
        tcflush(fd_, TCIFLUSH);
    }
    tcsetattr(fd_, TCSANOW, &saved_);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);  // releases the flock
    fd_ = -1;
}

std::string PosixSerialPort::errorText() const { return reason(error_); }
