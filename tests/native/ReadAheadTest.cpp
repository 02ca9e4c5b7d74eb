// Reading a point file a batch ahead gives what reading it line by line
// gives: the same points and line numbers, in order, however the lines fall
// across batches and blocks, and the end or the failure after them.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/TempFiles.h"

#include "files/ExchangeLine.h"
#include "files/LineSource.h"
#include "files/ReadAhead.h"
#include "files/posix/PosixFileSystem.h"

namespace {

// Lines of every kind: points, lines that are no points, long lines that
// arrive in pieces, CR LF, a lone CR, blank lines.
std::string fileText(std::mt19937& random, std::size_t lines) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        switch (random() % 8) {
        case 0: text += "not a point"; break;
        case 1: text += std::string(1023 + random() % 1500, 'L'); break;
        case 2: text += "P" + std::to_string(i) + ",1.5\r2.5,3,TREE"; break;
        case 3: break;
        default: text += "P" + std::to_string(i) + "," + std::to_string(random() % 100000) + ".25,-7,3.125,KERB";
        }
        text += random() % 2 ? "\r\n" : "\n";
    }
    if (random() % 2) text += "LAST,1,2,3";  // a last line without its end
    return text;
}

struct Seen {
    std::string name;
    double n, e, z;
    long line;
    bool whole;
    bool operator==(const Seen& o) const {
        return name == o.name && n == o.n && e == o.e && z == o.z && line == o.line && whole == o.whole;
    }
};

// What line-by-line reading gives.
std::vector<Seen> oneByOne(const std::string& text, const FormatInfo& format) {
    std::FILE* file = fileWith(text);
    LineSource lines(file);
    std::vector<Seen> seen;
    long number = 1;
    PointRecord point;
    while (const char* line = lines.next()) {
        const long here = number;
        const std::size_t length = std::strlen(line);
        if (length < LineSource::kMaxPiece || line[length - 1] == '\n') ++number;
        const bool whole = readPointLine(format, line, point);
        seen.push_back({point.name, point.n, point.e, point.z, here, whole});
    }
    std::fclose(file);
    return seen;
}

std::vector<Seen> aheadOf(const std::string& text, const FormatInfo& format, bool ahead, bool& failed) {
    PosixFileSystem system;
    std::FILE* file = fileWith(text);
    std::vector<Seen> seen;
    {
        ReadAhead lines(file, format, system, ahead);
        while (const AheadPoint* read = lines.next())
            seen.push_back({read->point.name, read->point.n, read->point.e, read->point.z, read->line, read->whole});
        failed = lines.failed();
    }
    std::fclose(file);
    return seen;
}

TEST(ReadAhead, GivesWhatReadingLineByLineGives) {
    const FormatInfo& topCom = *findFormat(1);
    std::mt19937 random(11);
    // Empty, within a batch, exactly one and two batches, and across several.
    for (std::size_t lines : {std::size_t{0}, std::size_t{5}, ReadAhead::kBatchPoints, 2 * ReadAhead::kBatchPoints,
                              7 * ReadAhead::kBatchPoints + 3}) {
        const std::string text = fileText(random, lines);
        const std::vector<Seen> expected = oneByOne(text, topCom);
        for (bool ahead : {true, false}) {
            bool failed = true;
            EXPECT_EQ(aheadOf(text, topCom, ahead, failed), expected) << lines << " lines, ahead " << ahead;
            EXPECT_FALSE(failed);
        }
    }
}

// A caller that stops early leaves the reading thread to stop too; one
// whose file cannot be read gets the failure in the system's words.
TEST(ReadAhead, StopsWhenLeftAndTellsAFailedRead) {
    PosixFileSystem system;
    const FormatInfo& topCom = *findFormat(1);
    std::mt19937 random(12);
    std::FILE* file = fileWith(fileText(random, 20 * ReadAhead::kBatchPoints));
    {
        ReadAhead lines(file, topCom, system, true);
        ASSERT_NE(lines.next(), nullptr);
    }
    std::fclose(file);

    std::FILE* unreadable = std::fopen("/dev/null", "wb");
    ASSERT_NE(unreadable, nullptr);
    for (bool ahead : {true, false}) {
        ReadAhead lines(unreadable, topCom, system, ahead);
        EXPECT_EQ(lines.next(), nullptr);
        EXPECT_TRUE(lines.failed());
        EXPECT_EQ(lines.errorText(), std::strerror(EBADF));
    }
    std::fclose(unreadable);
}

}  // namespace
