// GeoJSON: one FeatureCollection, a Feature with a Point geometry for each
// point, and the name and mark as the properties "name" and "mark". One
// feature a line, so that the file streams out point by point.
//
// Positions are what GeoJSON means by them, [longitude, latitude, Z] in
// WGS 84, when the points' coordinate system is known (WriteSettings::crs):
// the degrees with nine decimals (files/DegreeText.h), Z as the points have
// it. Without it they are the grid coordinates [E, N, Z] as they are
// (easting is x, northing y), and the file names no system, as a GIS writes
// a layer whose system it does not know. Metres have four decimals and are
// never -0.0000.
//
// JSON text is UTF-8: names and marks are converted from the points' code
// page (a point whose texts do not convert is refused before it comes
// here). '"', '\' and the control characters below 0x20 are escaped as JSON
// requires.
#include "files/CoordinateSystem.h"
#include "files/DegreeText.h"
#include "files/PointFormats.h"
#include "files/RecentMarks.h"
#include "files/TextSink.h"
#include "files/Utf8.h"

namespace {

const char kHex[] = "0123456789abcdef";

// Puts text as a JSON string to out (a TextSink or a StringOut): the runs
// that need no escape as they are.
template <class Out>
void putString(std::string_view text, Out& out) {
    out.put('"');
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') continue;
        out.put(text.substr(start, at - start));
        if (byte < 0x20) {
            out.put("\\u00");
            out.put(kHex[byte >> 4]);
            out.put(kHex[byte & 0xF]);
        } else {
            out.put('\\');
            out.put(text[at]);
        }
        start = at + 1;
    }
    out.put(text.substr(start));
    out.put('"');
}

class GeoJsonWriter : public PointWriter {
public:
    GeoJsonWriter(TextSink& out, const WriteSettings& settings)
        : out_(out), encoding_(settings.encoding), crs_(settings.crs), marks_(settings.encoding) {}
    void begin() override { out_.put("{\"type\":\"FeatureCollection\",\"features\":["); }
    void write(const PointRecord& point) override {
        out_.put(first_ ? "\r\n" : ",\r\n");
        first_ = false;
        out_.put("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[");
        putPosition(point);
        out_.put(',');
        out_.putCoordinate(point.z, 4);
        out_.put("]},\"properties\":{\"name\":");
        putString(utf8Of(point.name, PointRecord::kNameMax, encoding_, buffer_), out_);
        out_.put(",\"mark\":");
        out_.put(marks_.of(point.mark, [](std::string_view mark, StringOut& json) { putString(mark, json); }));
        out_.put("}}");
    }
    void end() override { out_.put("\r\n]}\r\n"); }

private:
    void putPosition(const PointRecord& point) {
        if (!crs_) {
            out_.putCoordinate(point.e, 4);
            out_.put(',');
            out_.putCoordinate(point.n, 4);
            return;
        }
        GeoPosition position;
        crs_->position(point.n, point.e, position);  // one it has: geoJsonRefuses let the point through
        char text[kDegreeTextMax];
        out_.put(degreeText(position.longitude, text));
        out_.put(',');
        out_.put(degreeText(position.latitude, text));
    }

    TextSink& out_;
    const TextEncoding* encoding_;
    CoordinateSystem* crs_;
    RecentMarks marks_;
    std::string buffer_;
    bool first_ = true;
};

}  // namespace

std::unique_ptr<PointWriter> openGeoJson(TextSink& out, const WriteSettings& settings) {
    return std::make_unique<GeoJsonWriter>(out, settings);
}
