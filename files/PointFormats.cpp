// The list of every format a point file can be written in.
#include "files/PointFormats.h"

#include "files/ExchangeLine.h"

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
     nothingAfter, hasFiniteCoordinates},
    {"geojson", 0, ".geojson", "GeoJSON FeatureCollection of Points [E,N,Z] (written only)", nullptr,
     beginGeoJson, writeGeoJsonPoint, endGeoJson, hasFiniteCoordinates},
    {"dxf", 0, ".dxf", "ASCII DXF R12: a POINT and a TEXT per point, layer = mark (written only)", nullptr,
     beginDxf, writeDxfPoint, endDxf, hasFiniteCoordinates},
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == '\0' || lower(a[i]) != b[i]) return false;
    return b[i] == '\0';
}

}  // namespace

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
