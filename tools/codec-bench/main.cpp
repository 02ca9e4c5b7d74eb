// Writes and reads 1,000,000 points through each exchange format's line
// codec and prints points per second. Lines are written and read in memory,
// one at a time through a 1024-character buffer as Export and Import do, so
// the figures are the codecs' own, without disk or list costs.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchBuild.h"
#include "files/ExchangeFormat.h"

namespace {

constexpr int kPoints = 1000000;
const char* const kFormatNames[] = {"", "Ruvo", "TopCom", "SV300", "GuangZhou Kass", "South Kass"};

std::vector<PointRecord> makePoints() {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> coordinate(-5000000.0, 5000000.0);
    std::uniform_real_distribution<double> height(-500.0, 5000.0);
    const char* marks[] = {"TREE", "", "\xB5\xE7\xCF\xDF\xB8\xCB", "BM1", "KERB"};
    std::vector<PointRecord> points(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "P%d", i % 1000000);
        points[i].setName(name);
        points[i].setMark(marks[i % 5]);
        points[i].n = coordinate(random);
        points[i].e = coordinate(random);
        points[i].z = height(random);
    }
    return points;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Appends every point's line as Export writes it (row number for the
// numbered formats, then the writer's text and LF).
std::string writeAll(const FormatInfo& format, const std::vector<PointRecord>& points) {
    std::string file;
    file.reserve(points.size() * 64);
    char buffer[kLineBufferSize];
    int row = 0;
    for (const PointRecord& point : points) {
        ++row;
        if (format.numbered) file.append(std::to_string(row)).push_back(',');
        file.append(format.write(point, buffer)).push_back('\n');
    }
    return file;
}

// Reads the lines back one at a time through a line buffer, each into a
// fresh record; returns how many points match what was written.
int readAll(const FormatInfo& format, const std::string& file, const std::vector<PointRecord>& points,
            double& checksum) {
    char line[kLineBufferSize];
    std::size_t pos = 0;
    int matching = 0;
    for (const PointRecord& expected : points) {
        std::size_t end = file.find('\n', pos) + 1;
        std::memcpy(line, file.data() + pos, end - pos);
        line[end - pos] = '\0';
        pos = end;
        PointRecord point;
        format.read(line, point);
        checksum += point.n + point.e + point.z;
        if (std::strcmp(point.name, expected.name) == 0 && std::fabs(point.n - expected.n) < 0.001) ++matching;
    }
    return matching;
}

}  // namespace

int main() {
    std::printf("codec bench: %d points per format; %s, %s\n", kPoints, sanitizedText(), optimisedText());
    std::vector<PointRecord> points = makePoints();
    bool allFast = true;
    for (int number = 1; number <= 5; ++number) {
        const FormatInfo& format = *findFormat(number);
        auto start = std::chrono::steady_clock::now();
        std::string file = writeAll(format, points);
        double writeSeconds = secondsSince(start);

        double checksum = 0.0;
        start = std::chrono::steady_clock::now();
        int matching = readAll(format, file, points, checksum);
        double readSeconds = secondsSince(start);

        double writeRate = kPoints / writeSeconds;
        double readRate = kPoints / readSeconds;
        allFast = allFast && writeRate >= 1e6 && readRate >= 1e6;
        std::printf("%-15s write %6.2f M points/s   read %6.2f M points/s   (%d of %d read back, sum %.3f)\n",
                    kFormatNames[number], writeRate / 1e6, readRate / 1e6, matching, kPoints, checksum);
        if (matching != kPoints) return 1;
    }
    std::printf("goal of 1 M points/s per codec: %s\n", allFast ? "met" : "NOT met");
    return 0;
}
