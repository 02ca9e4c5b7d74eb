#include <cmath>
#include <limits>

#include "files/ExchangeLine.h"

// Readers leave whatever they do not reach as it was, and no number in a
// file reads as NaN, so a coordinate that is still NaN afterwards tells a
// line whose reader stopped before it. It then gets the fresh value, 0.
bool readPointLine(const FormatInfo& format, const char* line, PointRecord& point) {
    const double unread = std::numeric_limits<double>::quiet_NaN();
    point = PointRecord();
    point.n = point.e = point.z = unread;
    format.read(line, point);
    bool complete = true;
    for (double* value : {&point.n, &point.e, &point.z}) {
        if (!std::isnan(*value)) continue;
        *value = 0;
        complete = false;
    }
    return complete;
}
