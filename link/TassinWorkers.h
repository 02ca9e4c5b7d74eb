// The two Tassin transfer workers. They end the way the Korvel workers do:
// normally with port.close() and host.finished(); on a failing port call
// with host.failedPlatform(); on a wrong sync with
// host.failedProtocol(kTextFrameHeadError), having written nothing; on a
// stop request by returning at once.
#pragma once

#include "link/LinkProtocol.h"

class BytePort;
class WorkerHost;

// The instrument sends 66-byte frames until an end frame; the PC sends
// nothing back. Title text 12, then text 21 with the count of points;
// progress per point with the total unknown.
void runTassinReceive(BytePort& port, WorkerHost& host);

// After the instrument's sync the PC sends one 57-byte frame per row, each
// but the last followed by a wait for 3 answer bytes. Title text 12, then
// text 15 per frame; progress per answered frame. Trims trailing spaces
// from the names of the records.
void runTassinSend(BytePort& port, WorkerHost& host);

// The Tassin side of the link: these workers, any number of points a send
// (the frames' total is only informative), coordinates whose "%.3f" text
// fits the 13-byte field, and sent names without their trailing spaces.
extern const LinkProtocol kTassinProtocol;
