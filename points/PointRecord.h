// One survey point: name, attribute code (mark) and the three coordinates.
//
// Records are made with new by whoever produces a point (a receive, Import,
// Append) and belong to that producer until they enter the point list; from
// then on the list row owns the record and destroys it with its row.
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
