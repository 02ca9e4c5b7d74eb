// One survey point: name, attribute code (mark) and the three coordinates.
//
// Every point the program holds is a row of the point store, which keeps
// its own copy of the record (points/PointStore.h). Records elsewhere are
// values on their way in or out: a point being read, typed or edited, or a
// received one in the message that carries it to the main window.
#pragma once

#include <string_view>

class PointRecord {
public:
    static constexpr int kNameMax = 9;   // characters, without the terminator
    static constexpr int kMarkMax = 13;

    char name[kNameMax + 1];
    char mark[kMarkMax + 1];
    double n;  // northing N
    double e;  // easting E
    double z;  // height Z

    // Empty name and mark, all coordinates 0.
    PointRecord();
    virtual ~PointRecord();

    // Store a name or mark, cut to the field's limit (never overruns).
    void setName(std::string_view text);
    void setMark(std::string_view text);
};

// True when N, E and Z are all finite numbers: neither infinity nor NaN,
// which no point file, frame or drawing can carry as a coordinate.
bool hasFiniteCoordinates(const PointRecord& point);
