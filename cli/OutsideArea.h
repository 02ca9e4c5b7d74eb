// Points that lie outside the area of use of their coordinate system: a
// wrong zone, N and E swapped, another system altogether. They are written
// as they are (their positions are what the system makes of them), counted,
// and one warning after the output names how many, where the first came
// from, and what its eastings suggest: the systems of the zone they carry,
// or that N and E are swapped when swapping puts the point in the area.
// A system that names no area of use (a PROJ string) checks nothing.
#pragma once

#include <string>

#include "points/PointRecord.h"

class CoordinateSystem;
class CoordinateSystems;
class Report;

class OutsideArea {
public:
    explicit OutsideArea(CoordinateSystem& crs) : crs_(crs) {}

    // Looks at a point about to be written; where and line say where it came
    // from (line 0 for none).
    void check(const PointRecord& point, const std::string& where, long line);

    long count() const { return count_; }

    // The warning, when any point lay outside; systems (when not nullptr)
    // finds the codes of the zone the first one's easting carries.
    void warn(Report& report, CoordinateSystems* systems);

private:
    CoordinateSystem& crs_;
    long count_ = 0;
    PointRecord first_;
    std::string firstWhere_;
    long firstLine_ = 0;
};
