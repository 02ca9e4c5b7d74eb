#include "PosixBytePort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

bool PosixBytePort::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return false;
    termios t{};
    if (tcgetattr(fd_, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B1200);
        cfsetospeed(&t, B1200);
        tcsetattr(fd_, TCSANOW, &t);
    }
    return true;
}

bool PosixBytePort::hungUp() const {
    pollfd p{fd_, POLLIN, 0};
    return poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool PosixBytePort::queued(std::size_t& count) {
    ++queuedCalls_;
    if (fd_ < 0 || hungUp()) return false;
    int n = 0;
    if (ioctl(fd_, FIONREAD, &n) != 0) return false;
    count = n > 0 ? static_cast<std::size_t>(n) : 0;
    return true;
}

bool PosixBytePort::read(std::uint8_t* data, std::size_t n, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return false;
    const ssize_t r = ::read(fd_, data, n);
    if (r > 0) got = static_cast<std::size_t>(r);
    return r >= 0 || errno == EAGAIN || errno == EINTR;
}

bool PosixBytePort::write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(5000);
    std::size_t done = 0;
    while (done < n) {
        if (cancel_ || std::chrono::steady_clock::now() >= giveUp) return false;
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
        } else if (w < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            poll(&p, 1, 10);
        } else {
            return false;
        }
    }
    return true;
}

void PosixBytePort::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}
