// The check a send passes before it starts: can every point of the list
// travel to the instrument faithfully? Sends never cut a coordinate, so a
// list holding a point whose number the wire cannot carry is refused as a
// whole, naming the first such row. Names and marks longer than the wire's
// fields are cut by design and pass.
//
// Korvel: at most 9999 points (the frame counters hold four digits); every
// coordinate must fit its 12-character field of the point text.
// Tassin: every coordinate's "%.3f" text must fit the 13-byte field, and
// must be a finite number.
#pragma once

#include "app/AppState.h"

class PointStore;

struct SendRefusal {
    enum class Reason { None, TooManyPoints, PointDoesNotFit };
    Reason reason = Reason::None;
    int row = -1;    // 0-based row of the refused point (PointDoesNotFit)
    int limit = 0;   // the largest number of points (TooManyPoints)

    bool refused() const { return reason != Reason::None; }
};

// points: the rows in list order.
SendRefusal checkSend(Model model, const PointStore& points);
