// What transfer control needs of the platform: the serial port and the one
// worker thread of a transfer. Called on the user-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/BytePort.h"

class WorkerHost;

class LinkPlatform {
public:
    virtual ~LinkPlatform() = default;

    // Opens the named device exclusively for reading and writing and sets
    // 1200 baud 8N1, reads that return at once and a 5000 ms write time-out.
    // nullptr on failure; lastErrorText() then tells why.
    virtual std::unique_ptr<BytePort> openPort(const std::string& name) = 0;

    // Runs body on a new worker thread. false on failure (lastErrorText()).
    virtual bool startWorker(std::function<void()> body) = 0;

    // Asks the running worker to stop, cancels its pending port calls and
    // waits until it has ended, serving its calls into the user-interface
    // meanwhile. Returns true when the worker had already come to its normal
    // end (WorkerHost::finished) before the stop reached it: its end report
    // is then on its way to the window. Returns false at once when no worker
    // runs.
    virtual bool stopWorker() = 0;

    // Releases the worker thread after it has ended by itself.
    virtual void releaseWorker() = 0;

    // How many rows the send worker that ran last has written (see
    // WorkerHost::rowSent); read once it has ended. Each call starts the
    // count again from 0, so a second call, or one after a transfer that
    // started no worker, gives 0.
    virtual int takeRowsSent() = 0;

    // The worker's view of the program, valid while a worker runs.
    virtual WorkerHost& workerHost() = 0;

    // The platform's text for the last failed openPort or startWorker.
    virtual std::string lastErrorText() = 0;
};
