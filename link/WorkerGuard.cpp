#include "link/WorkerGuard.h"

#include <new>

#include "link/WorkerHost.h"

void runGuarded(WorkerBody body, BytePort& port, WorkerHost& host) noexcept {
    WorkerFault fault;
    try {
        body(port, host);
        return;
    } catch (const std::bad_alloc&) {
        fault = WorkerFault::NoMemory;
    } catch (...) {
        fault = WorkerFault::Internal;
    }
    if (!host.stopRequested()) host.failedInternally(fault);
}
