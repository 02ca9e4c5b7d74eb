// The check a send passes before it starts: can every point of the list
// travel to the instrument faithfully? Sends never cut a coordinate, so a
// list holding a point whose number the wire cannot carry is refused as a
// whole, naming the first such row. Names and marks longer than the wire's
// fields are cut by design and pass. What a family's frames carry is its
// SendLimits (link/LinkProtocol.h).
#pragma once

#include <cstddef>

class PointRecord;
class PointStore;

struct SendLimits {
    // The most points one send carries (the frames count them); 0: any.
    int maxPoints;
    // True when the family's frames carry every coordinate of the point
    // exactly.
    bool (*canCarry)(const PointRecord& point);
};

struct SendRefusal {
    enum class Reason { None, TooManyPoints, PointDoesNotFit };
    Reason reason = Reason::None;
    int row = -1;    // 0-based row of the refused point (PointDoesNotFit)
    int limit = 0;   // the largest number of points (TooManyPoints)

    bool refused() const { return reason != Reason::None; }
};

// points: the rows in list order.
SendRefusal checkSend(const SendLimits& limits, const PointStore& points);
