// The Korvel transfer workers and the Korvel side of the link, over the
// step sequences of link/TransferSteps.h.
//
// Receive: the instrument's handshake, which the PC echoes; then frames,
// each answered by the frame reply once its point is delivered and the title
// (the frame's counters) set; then the end message. Progress: per frame its
// counters (korvelReceiveProgress).
// Send: the handshake echoed, then one frame per row; the acknowledgements
// are 3 bytes. Progress: per acknowledged frame the frames sent of the
// list's rows.
#pragma once

#include "link/LinkProtocol.h"

class BytePort;
class WorkerHost;

void runKorvelReceive(BytePort& port, WorkerHost& host);
void runKorvelSend(BytePort& port, WorkerHost& host);

// These workers, at most 9999 points a send (the frame counters hold four
// digits), and coordinates that fit the 12-character fields of the point
// text; a send changes no point.
extern const LinkProtocol kKorvelProtocol;
