// What a transfer worker needs from the rest of the program. The worker runs
// on its own thread; every operation here is safe to call from it.
#pragma once

#include <string>

class PointRecord;

// Why a worker could not go on, other than its port or its instrument.
enum class WorkerFault {
    NoMemory,  // a record or a text could not be allocated
    Internal,  // any other failure of the program itself
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

    // Text of the table in the user-interface language (ids 1 to 32 and the
    // program's own additions).
    virtual std::string text(int id) = 0;

    // Shows a progress text in the main window's title.
    virtual void setTitle(const std::string& title) = 0;

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
    // is taken now, on the worker's thread) or the given protocol text in a
    // box captioned "Error", then runs the cancel sequence.
    virtual void failedPlatform() = 0;
    virtual void failedProtocol(int textId) = 0;
    // A failure of the worker itself (see WorkerGuard.h): reported like a
    // failing port call, with the platform's text for the fault. Never
    // throws, whatever memory is left.
    virtual void failedInternally(WorkerFault fault) noexcept = 0;
};
