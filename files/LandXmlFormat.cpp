// LandXML 1.2: the points as one CgPoints element, a CgPoint per point with
// the name as its name, the mark as its code and "N E Z" as its text
// (northing first, as LandXML orders a point), four decimals and never
// -0.0000. A name or mark that is empty leaves its attribute out. One point
// a line, so that the file streams out point by point.
//
// The point files carry no unit: their coordinates are what the total
// station measured, in metres, and Units says so (metric, the schema's
// other units as a metric file has them).
//
// The root carries the date and time of writing, local, as the schema
// requires of it; the points are the same whenever they are written.
//
// XML text is UTF-8: names and marks are converted from the points' code
// page (a point whose texts do not convert, or that holds a character XML
// 1.0 cannot carry, is refused before it comes here; xmlRefuses). In an
// attribute, & < > " ' are written as entities, and tab, LF and CR as
// character references, which a parser keeps where it would make spaces of
// them as they are.
#include <ctime>

#include "files/PointFormats.h"
#include "files/RecentMarks.h"
#include "files/TextSink.h"
#include "files/Utf8.h"
#include "files/XmlText.h"

namespace {

constexpr char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2"
    " http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\""
    " version=\"1.2\"";
constexpr char kUnits[] =
    ">\r\n"
    "  <Units>\r\n"
    "    <Metric linearUnit=\"meter\" areaUnit=\"squareMeter\" volumeUnit=\"cubicMeter\""
    " temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" angularUnit=\"decimal degrees\""
    " directionUnit=\"decimal degrees\"/>\r\n"
    "  </Units>\r\n"
    "  <CgPoints>\r\n";
constexpr char kTail[] =
    "  </CgPoints>\r\n"
    "</LandXML>\r\n";

// Puts ` name="value"` to out (a TextSink or a StringOut), the value
// escaped; nothing for an empty value.
template <class Out>
void putAttribute(const char* name, std::string_view value, Out& out) {
    if (value.empty()) return;
    out.put(' ');
    out.put(name);
    out.put("=\"");
    putXmlEscaped(value, XmlPlace::Attribute, out);
    out.put('"');
}

// The date and time attributes of now, local time: date="2024-05-01"
// time="14:03:59" (xs:date and xs:time, without a zone).
void putNow(TextSink& out) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char text[48];
    if (!local || std::strftime(text, sizeof text, " date=\"%Y-%m-%d\" time=\"%H:%M:%S\"", local) == 0)
        out.put(" date=\"1970-01-01\" time=\"00:00:00\"");  // a clock the C library cannot read
    else
        out.put(text);
}

class LandXmlWriter : public PointWriter {
public:
    LandXmlWriter(TextSink& out, const WriteSettings& settings)
        : out_(out), encoding_(settings.encoding), codes_(settings.encoding) {}
    void begin() override {
        out_.put(kHead);
        putNow(out_);
        out_.put(kUnits);
    }
    void write(const PointRecord& point) override {
        out_.put("    <CgPoint");
        putAttribute("name", utf8Of(point.name, PointRecord::kNameMax, encoding_, buffer_), out_);
        out_.put(codes_.of(point.mark, [](std::string_view mark, StringOut& code) {
            putAttribute("code", mark, code);
        }));
        out_.put('>');
        out_.putCoordinate(point.n, 4);
        out_.put(' ');
        out_.putCoordinate(point.e, 4);
        out_.put(' ');
        out_.putCoordinate(point.z, 4);
        out_.put("</CgPoint>\r\n");
    }
    void end() override { out_.put(kTail); }

private:
    TextSink& out_;
    const TextEncoding* encoding_;
    RecentMarks codes_;
    std::string buffer_;
};

}  // namespace

std::unique_ptr<PointWriter> openLandXml(TextSink& out, const WriteSettings& settings) {
    return std::make_unique<LandXmlWriter>(out, settings);
}
