// pointlink receive and send: one transfer with a Korvel or Tassin
// instrument on a serial port, with the worker steps of the window
// programs (link/), so the same bytes go over the line.
//
// receive writes every point to the output as it arrives, handed to the
// system at once, so that a line that drops half-way loses nothing that
// came over it; a point counts as saved once its bytes are written. A dxf
// is the exception: its table of layers comes first, so its points are
// kept (in a scratch file) and the drawing is written when the transfer
// ends, however it ends; a point counts as saved once it is kept. The
// output goes, as in convert, to a file of its own beside the target, or
// into the target itself when that is standard output, a FIFO or a device.
// When the transfer ends normally the file replaces the target (exit status
// 0). When the line drops, the instrument opens wrongly, a point cannot be
// written in the format, or Ctrl-C stops it after points came, the file
// with the points saved so far still replaces the target, closed off in
// its format (a geojson or dxf ends properly), and the exit status says
// that the transfer failed; when no point was saved, the target is left as
// it was. When writing fails (a full disk), the target is left as it was
// and the message says how many points arrived unsaved: the instrument
// still holds them.
//
// send reads its input file whole first (line by line, as convert does),
// refuses what the window programs refuse before the port is opened (more
// points than the instrument's frames can count, a coordinate its frames
// cannot carry), and then sends every point in order.
//
// With the points' coordinate system (--crs), the points received that lie
// outside its area of use are counted, and a warning at the end says so
// (cli/OutsideArea.h).
//
// Progress goes to standard error, one line a point.
#pragma once

#include <cstdio>
#include <string>

#include "files/PointFormats.h"

class Console;
class CoordinateSystems;
class OutputFiles;
class Report;
struct Instrument;

struct LinkStreams {
    std::FILE* in;   // standard input, in binary mode
    std::FILE* out;  // standard output, in binary mode
    OutputFiles& files;
    Report& report;
    Console& console;
};

struct ReceiveRequest {
    const Instrument* instrument = nullptr;
    std::string port;
    std::string output;  // "-": standard output
    const PointFormat* to = nullptr;
    WriteSettings settings;  // the points' encoding (--encoding), the scratch files, the system (--crs)
    CoordinateSystems* systems = nullptr;  // for the zone that a warning suggests; may be nullptr
};

struct SendRequest {
    const Instrument* instrument = nullptr;
    std::string port;
    std::string input;  // "-": standard input
    const PointFormat* from = nullptr;
    bool strict = false;
};

// 0 when the transfer ended normally, 1 when it did not.
int runReceive(const ReceiveRequest& request, LinkStreams& streams);
int runSend(const SendRequest& request, LinkStreams& streams);
