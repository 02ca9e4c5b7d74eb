#include "SimPoint.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end && *end == '\0';
}

std::vector<std::string> splitCommas(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        parts.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

}  // namespace

bool readPointFile(const std::string& path, std::vector<SimPoint>& points, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> parts = splitCommas(line);
        SimPoint p;
        if (parts.size() != 5 || !parseNumber(parts[2], p.n) || !parseNumber(parts[3], p.e) ||
            !parseNumber(parts[4], p.z)) {
            error = path + ":" + std::to_string(number) + ": expected name,mark,n,e,z";
            return false;
        }
        p.name = parts[0];
        p.mark = parts[1];
        points.push_back(p);
    }
    return true;
}

bool writePointFile(std::FILE* out, const std::vector<SimPoint>& points) {
    for (const SimPoint& p : points)
        if (std::fprintf(out, "%s,%s,%.3f,%.3f,%.3f\n", p.name.c_str(), p.mark.c_str(), p.n, p.e, p.z) < 0)
            return false;
    return std::fflush(out) == 0;
}

std::vector<SimPoint> generatePoints(int count) {
    static const char* const marks[] = {"", "KERB", "TREE", "A", "BM"};
    std::vector<SimPoint> points;
    for (int i = 1; i <= count; ++i) {
        SimPoint p;
        p.name = "P" + std::to_string(i);
        if (p.name.size() > 7) p.name = p.name.substr(p.name.size() - 7);
        p.mark = marks[i % 5];
        p.n = 1000.0 + i * 1.5;
        p.e = -250.0 + i * 0.125;
        p.z = (i % 2 ? -1.0 : 1.0) * (12.5 + (i % 100) * 0.001);
        points.push_back(p);
    }
    return points;
}
