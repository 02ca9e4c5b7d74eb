// What a transfer worker needs from the rest of the program. The worker runs
// on its own thread; every operation here is safe to call from it.
//
// The worker reports figures, never words: what a title or a failure says,
// in which language, is the program's affair (the window's, or a console's).
#pragma once

#include <string>

class PointRecord;

// Why a worker could not go on, other than its port or its instrument.
enum class WorkerFault {
    NoMemory,  // a record or a text could not be allocated
    Internal,  // any other failure of the program itself
};

// Why the instrument's side of a transfer could not go on.
enum class ProtocolFault {
    None = 0,           // none: the failure was the platform's (failedPlatform)
    WrongOpening = 1,   // the instrument opened with other bytes than its handshake or sync
    TooManyPoints = 2,  // the frames cannot count the points of the list
};

// What the title of a running transfer tells.
struct TransferTitle {
    enum class Step {
        WaitingForInstrument,  // for the instrument to open the transfer
        Received,              // a point has been received
        Sending,               // a frame is about to go out
    };
    Step step = Step::WaitingForInstrument;
    int count = 0;  // Received: points received so far; Sending: the frame's number from 1
    int total = 0;  // Sending: the points of the send
    // Received, when the family's frames count the points themselves: the
    // frame's counters as they came, the point's number and then the total,
    // four characters each; empty otherwise.
    std::string counters;
};

class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // Waits up to ms milliseconds; returns early when the user stops the
    // transfer. Returns false when the worker must stop at once: it then
    // touches neither the port nor the host again and simply returns.
    virtual bool pause(int ms) = 0;

    // True once the user has asked the transfer to stop.
    virtual bool stopRequested() = 0;

    // Shows how far the transfer has come, in the main window's title.
    virtual void setTitle(const TransferTitle& title) = 0;

    // How far the transfer has come, for the program's taskbar button: done
    // points of total have gone over the line, 0 <= done <= total. A total
    // of 0 means that the total is not known: done then counts the points
    // so far, and the button only shows that the transfer runs. Shows
    // nothing in the window itself; whatever was shown goes when the
    // transfer ends, however it ends.
    virtual void progress(int done, int total) = 0;

    // Hands a received point (made with new) to the main window, which appends
    // it as the new last row and owns it from then on.
    virtual void deliverPoint(PointRecord* point) = 0;

    // Normal end: the worker has closed the port and ends; the main window
    // shows "receive finished" or "send over" and returns to Idle.
    virtual void finished() = 0;

    // The point list, read by send workers: the store itself, which does not
    // change while a transfer runs. No request goes to the window. The
    // records are only read; nullptr for a row that does not exist.
    virtual int rowCount() = 0;
    virtual const PointRecord* rowRecord(int row) = 0;

    // A send worker has written the frame of this row (0-based, in list
    // order). Once the worker has ended, the user-interface thread learns how
    // many rows went out (LinkPlatform::takeRowsSent).
    virtual void rowSent(int row) = 0;

    // Failure ends: the worker calls one of these as its last act and returns.
    // The main window shows the platform's text for its last error (the code
    // is taken now, on the worker's thread) or the protocol fault's text in a
    // box captioned "Error", then runs the cancel sequence.
    virtual void failedPlatform() = 0;
    virtual void failedProtocol(ProtocolFault fault) = 0;
    // A failure of the worker itself (see WorkerGuard.h): reported like a
    // failing port call, with the platform's text for the fault. Never
    // throws, whatever memory is left.
    virtual void failedInternally(WorkerFault fault) noexcept = 0;
};
