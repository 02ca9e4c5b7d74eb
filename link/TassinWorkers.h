// The Tassin transfer workers and the Tassin side of the link, over the
// step sequences of link/TransferSteps.h.
//
// Receive: no opening; 66-byte frames until an end frame, and the PC sends
// nothing back. Title: the count of points; progress per point with the
// total unknown.
// Send: the instrument's sync (not echoed), then one 57-byte frame per row,
// each answered by 3 bytes.
#pragma once

#include "link/LinkProtocol.h"

class BytePort;
class WorkerHost;

void runTassinReceive(BytePort& port, WorkerHost& host);
void runTassinSend(BytePort& port, WorkerHost& host);

// These workers, any number of points a send (the frames' total is only
// informative), coordinates whose "%.3f" text fits the 13-byte field, and
// sent names without their trailing spaces.
extern const LinkProtocol kTassinProtocol;
