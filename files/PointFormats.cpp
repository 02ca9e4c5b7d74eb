// The list of every format a point file can be written in, and the writer
// of the five exchange formats' lines as Export writes them.
#include "files/PointFormats.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "files/TextSink.h"

namespace {

void nothingBefore(TextSink&) {}
void nothingAfter(long, TextSink&) {}

void writeExchangePoint(const FormatInfo* exchange, const PointRecord& point, long row, TextSink& out) {
    writeExchangeLine(*exchange, point, row, out);
}

bool exchangeCanHold(int number, const PointRecord& point) { return findFormat(number)->canHold(point); }
template <int N>
bool exchangeHolds(const PointRecord& point) {
    return exchangeCanHold(N, point);
}

// The written-only formats carry any finite value; infinity and NaN have no
// place in a csv number, a JSON number or a DXF coordinate.
bool finite(const PointRecord& point) {
    return std::isfinite(point.n) && std::isfinite(point.e) && std::isfinite(point.z);
}

const PointFormat kFormats[] = {
    {"ruvo", 1, ".ruvo", "Ruvo: fixed columns, the Korvel frame's point text", findFormat(1), nothingBefore,
     writeExchangePoint, nothingAfter, exchangeHolds<1>},
    {"topcom", 2, ".pts", "TopCom: name,E,N,Z,mark", findFormat(2), nothingBefore, writeExchangePoint,
     nothingAfter, exchangeHolds<2>},
    {"sv300", 3, ".svf", "SV300: row,name,mark,N,E,Z", findFormat(3), nothingBefore, writeExchangePoint,
     nothingAfter, exchangeHolds<3>},
    {"gzkass", 4, ".dat", "GuangZhou Kass: row,name,N,E,Z,mark", findFormat(4), nothingBefore,
     writeExchangePoint, nothingAfter, exchangeHolds<4>},
    {"southkass", 5, ".dat", "South Kass: name,mark,E,N,Z", findFormat(5), nothingBefore, writeExchangePoint,
     nothingAfter, exchangeHolds<5>},
    {"csv", 0, ".csv", "CSV with the header name,mark,N,E,Z (written only)", nullptr, beginCsv, writeCsvPoint,
     nothingAfter, finite},
    {"geojson", 0, ".geojson", "GeoJSON FeatureCollection of Points [E,N,Z] (written only)", nullptr,
     beginGeoJson, writeGeoJsonPoint, endGeoJson, finite},
    {"dxf", 0, ".dxf", "ASCII DXF R12: a POINT and a TEXT per point, layer = mark (written only)", nullptr,
     beginDxf, writeDxfPoint, endDxf, finite},
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == '\0' || lower(a[i]) != b[i]) return false;
    return b[i] == '\0';
}

}  // namespace

void writeExchangeLine(const FormatInfo& format, const PointRecord& point, long row, TextSink& out) {
    if (format.numbered) {
        char prefix[24];
        int length = std::snprintf(prefix, sizeof prefix, "%ld,", row);
        out.put(std::string_view(prefix, static_cast<std::size_t>(length)));
    }
    char buffer[kLineBufferSize];
    out.put(format.write(point, buffer));
    out.put("\r\n");
}

std::size_t pointFormatCount() { return sizeof kFormats / sizeof kFormats[0]; }

const PointFormat& pointFormatAt(std::size_t index) { return kFormats[index]; }

const PointFormat* findPointFormat(std::string_view nameOrNumber) {
    for (const PointFormat& format : kFormats) {
        if (sameName(nameOrNumber, format.name)) return &format;
        if (format.number > 0 && nameOrNumber.size() == 1 && nameOrNumber[0] == '0' + format.number)
            return &format;
    }
    return nullptr;
}

PointStream::PointStream(const PointFormat& format, TextSink& out) : format_(format), out_(out) {}

// Readers leave whatever they do not reach as it was, and no number in a
// file reads as NaN, so a coordinate that is still NaN afterwards tells a
// line whose reader stopped before it. It then gets the fresh value, 0.
bool readPointLine(const FormatInfo& format, const char* line, PointRecord& point) {
    const double unread = std::numeric_limits<double>::quiet_NaN();
    point = PointRecord();
    point.n = point.e = point.z = unread;
    format.read(line, point);
    bool complete = true;
    for (double* value : {&point.n, &point.e, &point.z}) {
        if (!std::isnan(*value)) continue;
        *value = 0;
        complete = false;
    }
    return complete;
}
