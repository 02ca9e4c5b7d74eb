// Points for tests, filled in one call.
#pragma once

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
