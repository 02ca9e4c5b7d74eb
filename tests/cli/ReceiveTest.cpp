// pointlink receive in-process, against a scripted Korvel instrument and a
// disk that fills up at a chosen byte: a target is replaced only by a
// complete file, and a point counts as saved only once its bytes are
// written.
#include "cli/Link.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CliFixture.h"
#include "cli/Console.h"
#include "cli/Instruments.h"
#include "fakes/FakeInstrument.h"
#include "files/CoordinateSystem.h"
#include "files/proj/ProjCoordinateSystems.h"

using fake::Bytes;

namespace {

// A file system whose disk has room for `room` more bytes, shared by every
// file made on it; a write beyond fails as a full disk does.
class FillingDisk : public FileSystem {
public:
    long room = 1L << 30;

    std::FILE* createNewFile(const std::string& path, bool& taken) override {
        std::FILE* real = real_.createNewFile(path, taken);
        if (!real) return nullptr;
        auto* file = new Open{dup(fileno(real)), this};
        std::fclose(real);
        cookie_io_functions_t calls{nullptr, &Open::write, nullptr, &Open::close};
        return fopencookie(file, "wb", calls);
    }
    bool replaceFile(const std::string& temp, const std::string& target) override {
        return real_.replaceFile(temp, target);
    }
    std::string lastErrorText() override { return std::strerror(errno); }

private:
    struct Open {
        int fd;
        FillingDisk* disk;
        static ssize_t write(void* cookie, const char* data, std::size_t size) {
            auto* self = static_cast<Open*>(cookie);
            const std::size_t fits = std::min<std::size_t>(size, static_cast<std::size_t>(self->disk->room));
            if (fits == 0 && size > 0) {
                errno = ENOSPC;
                return -1;
            }
            const ssize_t done = ::write(self->fd, data, fits);
            if (done > 0) self->disk->room -= done;
            if (done >= 0 && static_cast<std::size_t>(done) < size) errno = ENOSPC;  // a short write: the disk is full
            return done;
        }
        static int close(void* cookie) {
            auto* self = static_cast<Open*>(cookie);
            const int result = ::close(self->fd);
            delete self;
            return result;
        }
    };
    PosixFileSystem real_;
};

class FillingConsoleFiles : public PosixConsoleFiles {
public:
    FileSystem& system() override { return disk; }
    bool syncToDisk(std::FILE* file) override { return std::fflush(file) == 0; }
    FillingDisk disk;
};

class ScriptedPort : public ConsolePort {
public:
    explicit ScriptedPort(fake::FakePort& port) : port_(port) {}
    bool queued(std::size_t& count) override { return port_.queued(count); }
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override { return port_.read(data, n, got); }
    bool write(const std::uint8_t* data, std::size_t n) override { return port_.write(data, n); }
    void close() override { port_.close(); }
    void cancel() override {}
    std::string errorText() override { return "the line dropped"; }

private:
    fake::FakePort& port_;
};

class ScriptedConsole : public Console {
public:
    ConsoleFiles& files() override { return files_; }
    std::unique_ptr<ConsolePort> openPort(const std::string&, std::string&) override {
        return std::make_unique<ScriptedPort>(port);
    }
    bool interrupted() override { return false; }
    int exitStatus(int status) override { return status; }
    CoordinateSystems& coordinateSystems() override { return *systems; }

    std::unique_ptr<CoordinateSystems> systems = openProjCoordinateSystems(std::string());
    fake::World world;
    fake::FakePort port{world};
    FillingConsoleFiles files_;
};

Bytes korvelFrame(int seq, int total, const char* name) {
    char frame[64];
    std::snprintf(frame, sizeof frame, "\x02%04d%04d%-7s%-7s%012.3f%012.3f%012.3f\r", seq, total, name, "MK",
                  100.0 + seq, 200.0 + seq, 3.5);
    return fake::bytesOf(frame);
}

// An instrument that sends `points` points and ends, each frame after the
// reply to the one before.
void sendsPoints(fake::FakePort& port, int points) {
    port.sends({0x01, 0x53, 0x0D});
    for (int i = 1; i <= points; ++i) port.afterWrite(i, korvelFrame(i, points, ("P" + std::to_string(i)).c_str()));
    port.afterWrite(points + 1, {0x01, 0x45, 0x0D});
}

struct ReceiveRun : ScratchFolder {
    ReceiveRun() : err(std::tmpfile()), report(err), files(console.files_) {}
    ~ReceiveRun() { std::fclose(err); }

    // kml in the system of a UTM zone, where the frames' points have a
    // position.
    int run(const char* to, const std::string& output) {
        ReceiveRequest request;
        request.instrument = findInstrument("korvel");
        request.port = "COM9";
        request.output = path(output);
        request.to = findPointFormat(to);
        std::string error;
        if (request.to->coordinates == Coordinates::Wgs84) {
            crs = console.systems->open("+proj=utm +zone=50 +datum=WGS84", error);
            request.settings.crs = crs.get();
            request.settings.files = &console.files_.system();
        }
        LinkStreams streams{stdin, stdout, files, report, console};
        return runReceive(request, streams);
    }
    std::string messages() {
        std::string text = slurp(err);
        const std::string prefix = dir.string() + "/";
        for (std::size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
        return text;
    }

    ScriptedConsole console;
    std::unique_ptr<CoordinateSystem> crs;
    std::FILE* err;
    Report report;
    OutputFiles files;
};

const int kPoints = 5;

// The bytes a whole receive of kPoints points writes in a format, and the
// reads of the port it took.
std::string wholeFile(const char* to, int* reads = nullptr) {
    ReceiveRun run;
    sendsPoints(run.console.port, kPoints);
    EXPECT_EQ(run.run(to, "whole"), 0) << run.messages();
    if (reads) *reads = run.console.port.readCalls;
    return run.read("whole");
}

TEST(Receive, AFullDiskLeavesTheOldTargetAndTellsThePointsThatWereNotSaved) {
    for (const char* to : {"csv", "geojson", "dxf", "sv300", "kml"}) {
        const std::string whole = wholeFile(to);
        // The disk fills at the first byte, inside the first and the last
        // point, and at the last byte, which ends the format.
        const long lastPoint = static_cast<long>(whole.rfind("P5"));
        for (long room : {0L, 5L, lastPoint + 1, static_cast<long>(whole.size()) - 1}) {
            ReceiveRun run;
            sendsPoints(run.console.port, kPoints);
            run.write("keep", "old points");
            run.console.files_.disk.room = room;
            EXPECT_EQ(run.run(to, "keep"), 1) << to << " " << room;
            EXPECT_EQ(run.read("keep"), "old points") << to << " " << room;
            EXPECT_EQ(run.names(), std::vector<std::string>{"keep"}) << "no temporary file stays";
            const std::string messages = run.messages();
            EXPECT_NE(messages.find("keep: cannot write: No space left on device"), std::string::npos) << messages;
            EXPECT_NE(messages.find("keep: not written; the file is as it was"), std::string::npos) << messages;
            EXPECT_NE(messages.find(" not saved; the instrument still holds them"), std::string::npos) << messages;
            if (room == static_cast<long>(whole.size()) - 1) {
                EXPECT_NE(messages.find("pointlink: 5 points arrived"), std::string::npos) << messages;
            }
            EXPECT_EQ(messages.find("received before the transfer ended"), std::string::npos) << messages;
        }
        ReceiveRun roomy;
        sendsPoints(roomy.console.port, kPoints);
        roomy.console.files_.disk.room = static_cast<long>(whole.size());
        EXPECT_EQ(roomy.run(to, "keep"), 0) << roomy.messages();
        EXPECT_EQ(roomy.read("keep"), whole);
        EXPECT_NE(roomy.messages().find("pointlink: received 5 points into keep"), std::string::npos);
    }
}

TEST(Receive, ALineThatDropsKeepsExactlyThePointsWrittenClosedOffInTheFormat) {
    int reads = 0;
    const std::string whole = wholeFile("geojson", &reads);
    ReceiveRun run;
    sendsPoints(run.console.port, kPoints);
    run.console.port.failReadAt = reads / 2;
    run.write("keep", "old points");
    EXPECT_EQ(run.run("geojson", "keep"), 1);
    const std::string kept = run.read("keep");
    const std::string messages = run.messages();
    const std::size_t at = messages.find("keep: holds the ");
    ASSERT_NE(at, std::string::npos) << messages;
    const int saved = std::atoi(messages.c_str() + at + std::strlen("keep: holds the "));
    ASSERT_GT(saved, 0);
    ASSERT_LT(saved, kPoints);
    // The points saved, in the order they came, and the format's end.
    std::size_t count = 0;
    for (std::size_t from = 0; (from = kept.find("\"name\":", from)) != std::string::npos; ++from) ++count;
    EXPECT_EQ(count, static_cast<std::size_t>(saved));
    EXPECT_EQ(kept.substr(kept.size() - 6), "\r\n]}\r\n");
    EXPECT_EQ(kept.substr(0, kept.size() - 6), whole.substr(0, kept.size() - 6));
    EXPECT_EQ(run.names(), std::vector<std::string>{"keep"});
}

}  // namespace
