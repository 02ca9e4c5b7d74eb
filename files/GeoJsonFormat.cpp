// GeoJSON: one FeatureCollection, a Feature with a Point geometry for each
// point, coordinates [E, N, Z] (easting is x, northing y) with four
// decimals, and the name and mark as the properties "name" and "mark".
// One feature a line, so that the file streams out point by point.
//
// JSON text must be UTF-8, but the points hold bytes of the files' own code
// page. Bytes that form valid UTF-8 are written as they are, so ASCII and
// UTF-8 names come out unchanged. Every other byte (a lone byte 0x80..0xFF,
// as in a GBK name) becomes the character of the same number, U+0080 to
// U+00FF, written as a \u00XX escape: the file is valid JSON whatever a name
// holds, and the byte can be told back from the escape. '"', '\' and the
// control characters below 0x20 are escaped as JSON requires.
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "points/NumberText.h"

namespace {

const char kHex[] = "0123456789abcdef";

void putEscape(unsigned char byte, TextSink& out) {
    out.put("\\u00");
    out.put(kHex[byte >> 4]);
    out.put(kHex[byte & 0xF]);
}

// Length of the valid UTF-8 sequence that starts text[0] (of n bytes), or 0
// when the bytes there are no valid sequence (overlong forms, surrogates and
// values beyond U+10FFFF included).
std::size_t utf8Length(const unsigned char* text, std::size_t n) {
    unsigned char lead = text[0];
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (n < length || text[1] < low || text[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (text[i] < 0x80 || text[i] > 0xBF) return 0;
    return length;
}

void putString(const char* text, std::size_t max, TextSink& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t n = boundedLength(text, max);
    out.put('"');
    for (std::size_t i = 0; i < n;) {
        unsigned char c = bytes[i];
        if (c == '"' || c == '\\') {
            out.put('\\');
            out.put(static_cast<char>(c));
            ++i;
        } else if (c < 0x20) {
            putEscape(c, out);
            ++i;
        } else if (c < 0x80) {
            out.put(static_cast<char>(c));
            ++i;
        } else if (std::size_t length = utf8Length(bytes + i, n - i)) {
            out.put(std::string_view(text + i, length));
            i += length;
        } else {
            putEscape(c, out);
            ++i;
        }
    }
    out.put('"');
}

}  // namespace

void beginGeoJson(TextSink& out) { out.put("{\"type\":\"FeatureCollection\",\"features\":["); }

void writeGeoJsonPoint(const FormatInfo*, const PointRecord& point, long row, TextSink& out) {
    out.put(row > 1 ? ",\r\n" : "\r\n");
    out.put("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[");
    out.putFixed(point.e, 4);
    out.put(',');
    out.putFixed(point.n, 4);
    out.put(',');
    out.putFixed(point.z, 4);
    out.put("]},\"properties\":{\"name\":");
    putString(point.name, PointRecord::kNameMax, out);
    out.put(",\"mark\":");
    putString(point.mark, PointRecord::kMarkMax, out);
    out.put("}}");
}

void endGeoJson(long, TextSink& out) { out.put("\r\n]}\r\n"); }
