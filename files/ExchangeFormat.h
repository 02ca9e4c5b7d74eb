// The five line-oriented point-file formats, each with a reader and a writer
// of the same shape.
//
// A reader takes one line as it came from the file (NUL-terminated, with its
// LF if it had one) and fills the record it is given, which is fresh (empty
// name and mark, coordinates 0). Whatever it cannot reach or convert keeps
// the fresh value. Readers never fail, never read past the line's NUL and
// never store more than 9 name or 13 mark characters.
//
// A writer puts the line, without row number and without line end, into a
// caller-supplied buffer of kLineBufferSize characters, NUL-terminated, and
// returns a pointer to the start of the text (the Ruvo writer starts it at
// offset 9 of the buffer, as a Korvel frame carries it).
#pragma once

#include <cstddef>

#include "points/PointRecord.h"

enum class ExchangeFormat { Ruvo = 1, TopCom = 2, SV300 = 3, GuangZhouKass = 4, SouthKass = 5 };

constexpr std::size_t kLineBufferSize = 1024;

using LineReader = void (*)(const char* line, PointRecord& point);
using LineWriter = const char* (*)(const PointRecord& point, char* buffer);

struct FormatInfo {
    ExchangeFormat format;
    int nameTextId;         // text id of the format's name in the dialogs
    const char* pattern;    // "*.ruvo"
    const char* extension;  // ".ruvo", appended by Export to a name without '.'
    bool numbered;          // lines start with the 1-based row number and ','
    LineReader read;
    LineWriter write;
    // True when the format carries this point faithfully; false names a point
    // that Export must refuse rather than write as a different value.
    bool (*canHold)(const PointRecord& point);
};

// The format with this 1-based number, or nullptr outside 1..5.
const FormatInfo* findFormat(int number);

void readTopComLine(const char* line, PointRecord& point);
const char* writeTopComLine(const PointRecord& point, char* buffer);
void readSV300Line(const char* line, PointRecord& point);
const char* writeSV300Line(const PointRecord& point, char* buffer);
void readGuangZhouKassLine(const char* line, PointRecord& point);
const char* writeGuangZhouKassLine(const PointRecord& point, char* buffer);
void readSouthKassLine(const char* line, PointRecord& point);
const char* writeSouthKassLine(const PointRecord& point, char* buffer);
