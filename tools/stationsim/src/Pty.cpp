#include "Pty.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string systemText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

void setRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    cfsetispeed(&t, B1200);
    cfsetospeed(&t, B1200);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

Pty::~Pty() { close(); }

bool Pty::open() {
    close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) {
        error_ = systemText("posix_openpt");
        return false;
    }
    char* name = nullptr;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || (name = ptsname(master_)) == nullptr) {
        error_ = systemText("pty setup");
        close();
        return false;
    }
    slavePath_ = name;
    // On Linux the master's termios calls reach the slave's settings, which
    // stay while the master is open, across the PC's opens and closes.
    setRaw(master_);
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) {
        error_ = systemText("open slave");
        close();
        return false;
    }
    setRaw(slave);
    ::close(slave);
    return true;
}

void Pty::close() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

bool Pty::peerOpen() const {
    if (master_ < 0) return false;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) return false;
    return (p.revents & POLLHUP) == 0;
}

void Pty::drainSlave() {
    if (master_ < 0) return;
    std::uint8_t junk[512];
    while (::read(master_, junk, sizeof junk) > 0) {
    }
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) return;
    tcflush(slave, TCIOFLUSH);
    usleep(5000);  // let bytes still in flight settle, then take them too
    while (::read(slave, junk, sizeof junk) > 0) {
    }
    tcflush(slave, TCIOFLUSH);
    ::close(slave);
    while (::read(master_, junk, sizeof junk) > 0) {
    }
}

bool publishLink(const std::string& path, const std::string& target, std::string& error) {
    const std::string temp = path + ".new" + std::to_string(getpid());
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0) {
        error = systemText("symlink");
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = systemText("rename link");
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
