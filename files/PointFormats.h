// Every format a point file can be written in, by the name and number a
// command line uses: the five exchange formats of the window programs (which
// can also be read) and three formats that are written only, for the tools
// further down a surveyor's chain: csv, geojson and dxf.
//
// A format writes a whole file as a stream: begin() once, then point() for
// each point in order, then end(). Nothing is held between the calls but
// what PointStream keeps (the row number), so memory does not grow with the
// number of points. Every line ends with CR LF, as the window programs'
// files do.
//
// The window programs' own file types stay the five of files/ExchangeFormat.h;
// this list is for the command-line program.
#pragma once

#include <cstddef>
#include <string_view>

#include "files/ExchangeFormat.h"

class TextSink;

struct PointFormat {
    const char* name;         // "topcom", as typed on the command line
    int number;               // the ExchangeFormat number, 0 for a written-only format
    const char* extension;    // ".pts", for files named after their input
    const char* description;  // one line for the list of formats
    const FormatInfo* exchange;  // reader and writer of an exchange format; nullptr when written only

    // row counts the points from 1. count is the number written.
    void (*begin)(TextSink& out);
    void (*point)(const FormatInfo* exchange, const PointRecord& point, long row, TextSink& out);
    void (*end)(long count, TextSink& out);
    // False for a point this format would write as a different value; a
    // writer refuses such a point rather than write it.
    bool (*canHold)(const PointRecord& point);

    bool readable() const { return exchange != nullptr; }
};

// The formats in the order they are listed: the five by number, then csv,
// geojson, dxf.
std::size_t pointFormatCount();
const PointFormat& pointFormatAt(std::size_t index);

// The format of this name (case-insensitive) or number ("1" to "5");
// nullptr for any other text.
const PointFormat* findPointFormat(std::string_view nameOrNumber);

// Writes points in one format, counting the rows.
class PointStream {
public:
    PointStream(const PointFormat& format, TextSink& out);

    void begin() { format_.begin(out_); }
    bool canHold(const PointRecord& point) const { return format_.canHold(point); }
    // Writes the point (callers check canHold first).
    void write(const PointRecord& point) { format_.point(format_.exchange, point, ++rows_, out_); }
    void end() { format_.end(rows_, out_); }
    long rows() const { return rows_; }

private:
    const PointFormat& format_;
    TextSink& out_;
    long rows_ = 0;
};

// The writers of the three written-only formats, one per file.
void beginCsv(TextSink& out);
void writeCsvPoint(const FormatInfo*, const PointRecord& point, long row, TextSink& out);
void beginGeoJson(TextSink& out);
void writeGeoJsonPoint(const FormatInfo*, const PointRecord& point, long row, TextSink& out);
void endGeoJson(long count, TextSink& out);
void beginDxf(TextSink& out);
void writeDxfPoint(const FormatInfo*, const PointRecord& point, long row, TextSink& out);
void endDxf(long count, TextSink& out);
// The layer a DXF point goes on for its mark (see DxfFormat.cpp).
void dxfLayerName(const char* mark, char* layer);
constexpr std::size_t kDxfLayerMax = 31;
