// The list of every format a point file can be written in, and the
// refusals that formats share.
#include "files/PointFormats.h"

#include <string>
#include <string_view>

#include "files/CoordinateSystem.h"
#include "files/ExchangeLine.h"
#include "files/TextEncoding.h"
#include "files/Utf8.h"
#include "points/NumberText.h"

namespace {

// An exchange format: its lines, numbered from 1, and nothing before or
// after them.
class ExchangeWriter : public PointWriter {
public:
    ExchangeWriter(const FormatInfo& format, TextSink& out) : format_(format), out_(out) {}
    void begin() override {}
    void write(const PointRecord& point) override { writeExchangeLine(format_, point, ++row_, out_); }
    void end() override {}

private:
    const FormatInfo& format_;
    TextSink& out_;
    long row_ = 0;
};

template <int N>
std::unique_ptr<PointWriter> openExchange(TextSink& out, const WriteSettings&) {
    return std::make_unique<ExchangeWriter>(*findFormat(N), out);
}

template <int N>
Refusal exchangeRefuses(const PointRecord& point, const WriteSettings&) {
    return findFormat(N)->canHold(point) ? Refusal::None : Refusal::Value;
}

constexpr const char kCodePage[] = "the points' code page";
constexpr const char kUtf8[] = "UTF-8";

const PointFormat kFormats[] = {
    {"ruvo", 1, ".ruvo", "Ruvo: fixed columns, the Korvel frame's point text", kCodePage, findFormat(1),
     openExchange<1>, exchangeRefuses<1>},
    {"topcom", 2, ".pts", "TopCom: name,E,N,Z,mark", kCodePage, findFormat(2), openExchange<2>,
     exchangeRefuses<2>},
    {"sv300", 3, ".svf", "SV300: row,name,mark,N,E,Z", kCodePage, findFormat(3), openExchange<3>,
     exchangeRefuses<3>},
    {"gzkass", 4, ".dat", "GuangZhou Kass: row,name,N,E,Z,mark", kCodePage, findFormat(4), openExchange<4>,
     exchangeRefuses<4>},
    {"southkass", 5, ".dat", "South Kass: name,mark,E,N,Z", kCodePage, findFormat(5), openExchange<5>,
     exchangeRefuses<5>},
    {"csv", 0, ".csv", "CSV with the header name,mark,N,E,Z (written only)", kCodePage, nullptr, openCsv,
     csvRefuses},
    {"geojson", 0, ".geojson",
     "GeoJSON FeatureCollection of Points: [lon,lat,Z] in WGS 84 with --crs, else [E,N,Z] (written only)", kUtf8,
     nullptr, openGeoJson, geoJsonRefuses, Coordinates::GridOrWgs84},
    {"dxf", 0, ".dxf", "ASCII DXF R2007 (UTF-8): a POINT and a TEXT per point, a layer per mark (written only)", kUtf8,
     nullptr, openDxf, utf8Refuses},
    {"landxml", 0, ".xml", "LandXML 1.2: a CgPoint per point, N E Z in metres (written only)", kUtf8, nullptr,
     openLandXml, xmlRefuses},
    {"kml", 0, ".kml", "KML 2.2: a Placemark per point in WGS 84, a Folder per mark (needs --crs; written only)",
     kUtf8, nullptr, openKml, kmlRefuses, Coordinates::Wgs84},
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == '\0' || lower(a[i]) != b[i]) return false;
    return b[i] == '\0';
}

// U+FFFE and U+FFFF: characters of UTF-8 that XML 1.0 has in no form.
bool hasXmlNonCharacter(std::string_view utf8) {
    return utf8.find("\xEF\xBF\xBE") != std::string_view::npos ||
           utf8.find("\xEF\xBF\xBF") != std::string_view::npos;
}

// A control character that XML 1.0 has in no form: every one but tab, LF
// and CR.
bool isXmlControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F; }

// The texts that are not ASCII last found to be text of a code page, and
// fit for XML where asked: a survey has a few marks over many points, so
// most points find theirs here and are not converted again to be checked.
// One per thread, as the refusals are called on any.
class AcceptedTexts {
public:
    bool has(const TextEncoding& encoding, bool xml, std::string_view bytes) const {
        for (std::size_t i = 0; i < used_; ++i)
            if (entries_[i].bytes == bytes && entries_[i].xml == xml && entries_[i].encoding == encoding.name())
                return true;
        return false;
    }
    void add(const TextEncoding& encoding, bool xml, std::string_view bytes) {
        Entry& entry = entries_[next_];
        next_ = (next_ + 1) % kCount;
        if (used_ < kCount) ++used_;
        entry = Entry{encoding.name(), xml, std::string(bytes)};
    }

private:
    static constexpr std::size_t kCount = 8;
    struct Entry {
        std::string encoding;  // its name, which stays the same code page
        bool xml;
        std::string bytes;
    };
    Entry entries_[kCount];
    std::size_t used_ = 0;
    std::size_t next_ = 0;
};

// Why a UTF-8 format cannot write a text: not text of the points' code page
// (NotInEncoding); for XML also a character that XML cannot carry
// (ControlCharacter). One pass over the bytes; only a text that is not
// ASCII is converted, once.
Refusal textRefusal(const char* text, std::size_t max, const TextEncoding* encoding, bool xml) {
    std::string_view bytes(text, boundedLength(text, max));
    bool ascii = true;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80)
            ascii = false;
        else if (xml && isXmlControl(byte))
            return Refusal::ControlCharacter;
    }
    if (ascii) return Refusal::None;
    if (isUtf8Encoding(encoding)) {
        if (!isValidUtf8(bytes)) return Refusal::NotInEncoding;
        return xml && hasXmlNonCharacter(bytes) ? Refusal::ControlCharacter : Refusal::None;
    }
    thread_local AcceptedTexts accepted;
    if (accepted.has(*encoding, xml, bytes)) return Refusal::None;
    std::string utf8;
    if (!encoding->appendUtf8(bytes, utf8)) return Refusal::NotInEncoding;
    if (xml && hasXmlNonCharacter(utf8)) return Refusal::ControlCharacter;
    accepted.add(*encoding, xml, bytes);
    return Refusal::None;
}

Refusal textsRefusal(const PointRecord& point, const TextEncoding* encoding, bool xml) {
    const Refusal name = textRefusal(point.name, PointRecord::kNameMax, encoding, xml);
    return name != Refusal::None ? name : textRefusal(point.mark, PointRecord::kMarkMax, encoding, xml);
}

}  // namespace

bool PointFormat::convertsTexts() const { return texts == kUtf8; }

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

PointStream::PointStream(const PointFormat& format, TextSink& out, const WriteSettings& settings)
    : format_(format), settings_(settings), writer_(format.open(out, settings_)) {}

Refusal csvRefuses(const PointRecord& point, const WriteSettings&) {
    return hasFiniteCoordinates(point) ? Refusal::None : Refusal::Value;
}

Refusal utf8Refuses(const PointRecord& point, const WriteSettings& settings) {
    if (!hasFiniteCoordinates(point)) return Refusal::Value;
    return textsRefusal(point, settings.encoding, false);
}

Refusal xmlRefuses(const PointRecord& point, const WriteSettings& settings) {
    if (!hasFiniteCoordinates(point)) return Refusal::Value;
    return textsRefusal(point, settings.encoding, true);
}

namespace {

Refusal positionRefusal(const PointRecord& point, const WriteSettings& settings) {
    GeoPosition position;
    return settings.crs && settings.crs->position(point.n, point.e, position) ? Refusal::None : Refusal::NoPosition;
}

}  // namespace

Refusal geoJsonRefuses(const PointRecord& point, const WriteSettings& settings) {
    const Refusal text = utf8Refuses(point, settings);
    return text != Refusal::None || !settings.crs ? text : positionRefusal(point, settings);
}

Refusal kmlRefuses(const PointRecord& point, const WriteSettings& settings) {
    const Refusal text = xmlRefuses(point, settings);
    return text != Refusal::None ? text : positionRefusal(point, settings);
}
