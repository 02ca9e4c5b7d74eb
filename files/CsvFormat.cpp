// CSV as RFC 4180 has it: a header line name,mark,N,E,Z, then one record a
// point, CR LF after every line. A name or mark holding ',', '"', CR or LF
// is put in double quotes, with each '"' doubled; any other field is
// written bare. Texts are written byte for byte, as the point holds them
// (the files' own code page); numbers with four decimals, as the exchange
// formats write them.
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "points/NumberText.h"

namespace {

void putField(const char* text, std::size_t max, TextSink& out) {
    std::string_view field(text, boundedLength(text, max));
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.put(field);
        return;
    }
    out.put('"');
    for (char c : field) {
        if (c == '"') out.put('"');
        out.put(c);
    }
    out.put('"');
}

}  // namespace

void beginCsv(TextSink& out) { out.put("name,mark,N,E,Z\r\n"); }

void writeCsvPoint(const FormatInfo*, const PointRecord& point, long, TextSink& out) {
    putField(point.name, PointRecord::kNameMax, out);
    out.put(',');
    putField(point.mark, PointRecord::kMarkMax, out);
    for (double value : {point.n, point.e, point.z}) {
        out.put(',');
        out.putFixed(value, 4);
    }
    out.put("\r\n");
}
