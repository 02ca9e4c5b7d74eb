// The POSIX serial port on a pty: the line settings while open and the
// device's own settings back after close, bytes that pass unchanged, a
// second open refused while the first holds the port, a missing device,
// a device that is not a serial port, a hang-up, a stopped write.
#include "link/posix/PosixSerialPort.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Pty {
    Pty() {
        char name[256];
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        device = name;
        // The device's own settings, which the port must put back.
        termios t{};
        tcgetattr(slave, &t);
        t.c_lflag |= ICANON | ECHO;
        t.c_iflag |= ICRNL | IXON;
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(slave, TCSANOW, &t);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
    }
    termios settings() const {
        termios t{};
        tcgetattr(slave, &t);
        return t;
    }
    // Reads from the instrument's side what the port wrote.
    std::vector<std::uint8_t> drain(std::size_t want) {
        std::vector<std::uint8_t> got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < want && std::chrono::steady_clock::now() < until) {
            std::uint8_t block[512];
            ssize_t n = ::read(master, block, sizeof block);
            if (n > 0) got.insert(got.end(), block, block + n);
        }
        return got;
    }
    int master = -1, slave = -1;
    std::string device;
};

TEST(PosixSerialPort, SetsTheLineAndPutsTheDevicesOwnSettingsBack) {
    Pty pty;
    std::string error;
    auto port = PosixSerialPort::open(pty.device, error);
    ASSERT_TRUE(port) << error;
    termios open = pty.settings();
    EXPECT_EQ(cfgetispeed(&open), B1200);
    EXPECT_EQ(cfgetospeed(&open), B1200);
    EXPECT_EQ(open.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(open.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(open.c_iflag & (ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP), 0u);
    EXPECT_EQ(open.c_oflag & OPOST, 0u);
    port->close();
    termios after = pty.settings();
    EXPECT_EQ(cfgetispeed(&after), B9600);
    EXPECT_NE(after.c_lflag & ICANON, 0u);
    EXPECT_NE(after.c_iflag & IXON, 0u);
}

TEST(PosixSerialPort, EveryByteValuePassesBothWays) {
    Pty pty;
    std::string error;
    auto port = PosixSerialPort::open(pty.device, error);
    ASSERT_TRUE(port) << error;
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(port->write(all.data(), all.size()));
    EXPECT_EQ(pty.drain(256), all);

    ASSERT_EQ(::write(pty.master, all.data(), all.size()), 256);
    std::size_t queued = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (port->queued(queued) && queued < 256 && std::chrono::steady_clock::now() < until) {
    }
    ASSERT_EQ(queued, 256u);
    std::vector<std::uint8_t> got(300);
    std::size_t n = 0;
    ASSERT_TRUE(port->read(got.data(), got.size(), n));
    got.resize(n);
    EXPECT_EQ(got, all);
    ASSERT_TRUE(port->read(got.data(), 1, n));  // nothing more: returns at once
    EXPECT_EQ(n, 0u);
}

TEST(PosixSerialPort, IsHeldExclusivelyUntilClosed) {
    Pty pty;
    std::string error;
    auto first = PosixSerialPort::open(pty.device, error);
    ASSERT_TRUE(first) << error;
    auto second = PosixSerialPort::open(pty.device, error);
    EXPECT_FALSE(second);
    EXPECT_EQ(error, "the port is in use by another program");
    first->close();
    auto again = PosixSerialPort::open(pty.device, error);
    EXPECT_TRUE(again) << error;
}

TEST(PosixSerialPort, RefusesWhatIsNoSerialPort) {
    std::string error;
    EXPECT_FALSE(PosixSerialPort::open("/dev/no-such-port-here", error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(PosixSerialPort::open("/dev/null", error));
    EXPECT_EQ(error, "not a serial port");
}

TEST(PosixSerialPort, AHangUpFailsEveryCall) {
    Pty pty;
    std::string error;
    auto port = PosixSerialPort::open(pty.device, error);
    ASSERT_TRUE(port) << error;
    ::close(pty.master);
    pty.master = -1;
    std::size_t queued = 0;
    EXPECT_FALSE(port->queued(queued));
    EXPECT_EQ(port->errorText(), "the device is gone (hung up)");
    const std::uint8_t byte = 0x55;
    EXPECT_FALSE(port->write(&byte, 1));
}

TEST(PosixSerialPort, AStopEndsAWriteThatTheLineDoesNotTake) {
    Pty pty;
    std::string error;
    auto port = PosixSerialPort::open(pty.device, error);
    ASSERT_TRUE(port) << error;
    // The instrument's side reads nothing, so the pty's buffer fills up.
    std::vector<std::uint8_t> lots(1 << 20, 0x41);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        port->cancelWrites();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(port->write(lots.data(), lots.size()));
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(port->errorText(), "stopped");
}

}  // namespace
