// One instrument family's side of the link, as transfer control uses it:
// its two workers, what one send can carry, and what a send leaves of the
// points it sent. Each family's link part defines one (link/KorvelWorkers.h,
// link/TassinWorkers.h); the program's family entry names it
// (app/families/InstrumentFamily.h).
#pragma once

#include "link/SendCheck.h"
#include "link/WorkerGuard.h"

class PointRecord;

struct LinkProtocol {
    WorkerBody receive;  // the instrument sends its points
    WorkerBody send;     // the PC sends the list
    SendLimits limits;
    // What a sent point keeps of its send, applied on the user-interface
    // thread to each row the send wrote once the worker has ended; true when
    // the record changed. nullptr: a send changes no point.
    bool (*afterSend)(PointRecord& point);
};
