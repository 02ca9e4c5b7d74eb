// The two Korvel transfer workers. Each runs on the worker thread with the
// port already open and configured, and ends in exactly one of these ways:
// - normally: it closes the port, then calls host.finished();
// - on a failing port call: host.failedPlatform() (the port stays open for
//   the cancel sequence to close);
// - on a wrong handshake: host.failedProtocol(kTextFrameHeadError), having
//   written nothing;
// - on a stop request: it returns at once and touches nothing more.
// Titles: text 12 while waiting for the handshake, then text 14 per received
// frame or text 15 per sent frame. Progress: per received frame its counters
// (korvelReceiveProgress), per acknowledged sent frame the frames sent of
// the list's rows.
#pragma once

#include "link/LinkProtocol.h"

class BytePort;
class WorkerHost;

// The instrument sends points: handshake, frames each answered by the frame
// reply once the point is delivered and the title set, end message.
void runKorvelReceive(BytePort& port, WorkerHost& host);

// The PC sends the list: handshake, then one frame per row, each but the
// last followed by a wait for the 3-byte acknowledgement.
void runKorvelSend(BytePort& port, WorkerHost& host);

// The Korvel side of the link: these workers, at most 9999 points a send
// (the frame counters hold four digits), and coordinates that fit the
// 12-character fields of the point text.
extern const LinkProtocol kKorvelProtocol;
