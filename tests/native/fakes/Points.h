// Points for tests, filled in one call, and random ones.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "points/PointRecord.h"

inline void fillPoint(PointRecord& point, const char* name, const char* mark, double n, double e, double z) {
    point.setName(name);
    point.setMark(mark);
    point.n = n;
    point.e = e;
    point.z = z;
}

inline PointRecord makePoint(const char* name, const char* mark, double n, double e, double z) {
    PointRecord point;
    fillPoint(point, name, mark, n, e, z);
    return point;
}

// count random points with names of up to nameMax and marks of up to
// markMax letters and digits (possibly none), and coordinates in
// thousandths up to 9999999.999 either way: points that travel whole
// through every file format and frame that carries such texts.
inline std::vector<PointRecord> randomPoints(unsigned seed, int count, std::size_t nameMax, std::size_t markMax) {
    std::mt19937 random(seed);
    const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    auto word = [&](std::size_t max) {
        std::string w(random() % (max + 1), 'x');
        for (char& c : w) c = kChars[random() % (sizeof kChars - 1)];
        return w;
    };
    std::uniform_int_distribution<long long> thousandths(-9999999999LL, 9999999999LL);
    auto value = [&] { return static_cast<double>(thousandths(random)) / 1000.0; };
    std::vector<PointRecord> points;
    for (int i = 0; i < count; ++i) {
        const std::string name = word(nameMax), mark = word(markMax);
        const double n = value(), e = value(), z = value();
        points.push_back(makePoint(name.c_str(), mark.c_str(), n, e, z));
    }
    return points;
}
