// One line of an exchange file, read or written as the window programs'
// Import and Export and the command line do: the same bytes everywhere.
#pragma once

#include "files/ExchangeFormat.h"

class TextSink;

// Writes the line of one point: the row number and ',' in front for the
// numbered formats, the format's text, CR LF.
void writeExchangeLine(const FormatInfo& format, const PointRecord& point, long row, TextSink& out);

// Reads one line of an exchange format into a fresh record. True when the
// reader came to every coordinate; false for a line that does not fit the
// format (a blank line, a missing separator, a field that is no number),
// whose point then holds what the reader could take from it, exactly as the
// window programs' Import makes it.
bool readPointLine(const FormatInfo& format, const char* line, PointRecord& point);
