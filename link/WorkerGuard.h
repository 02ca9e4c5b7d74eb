// The one place that runs a transfer worker's body on its thread, so that no
// failure leaves the worker as an exception (which would end the program and
// lose every point in the list).
//
// A body that throws (no memory for a record or a text, or any other fault)
// is treated like a failing port call: unless the user has already asked
// the transfer to stop, the host is told through failedInternally, and the
// main window shows the cause and runs the cancel sequence. The port stays
// open for that sequence to close; the points delivered so far stay theirs.
#pragma once

class BytePort;
class WorkerHost;

using WorkerBody = void (*)(BytePort& port, WorkerHost& host);

void runGuarded(WorkerBody body, BytePort& port, WorkerHost& host) noexcept;
