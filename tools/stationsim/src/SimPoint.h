// A survey point as the simulated instrument holds it, and the simulator's
// point file: one point per line, "name,mark,n,e,z" (name and mark may be
// empty, contain no comma, and are cut by the wire as the wire requires),
// blank lines and lines starting with '#' ignored. Received points are
// written the same way with three decimals.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct SimPoint {
    std::string name;
    std::string mark;
    double n = 0, e = 0, z = 0;
};

// False with error set ("file:line: why") on a line that does not parse.
bool readPointFile(const std::string& path, std::vector<SimPoint>& points, std::string& error);

bool writePointFile(std::FILE* out, const std::vector<SimPoint>& points);

// count points with names P1, P2, ..., a few marks and coordinates that fit
// both instruments' frames, negative values included.
std::vector<SimPoint> generatePoints(int count);
