// Every format a point file can be written in, by the name and number a
// command line uses: the five exchange formats of the window programs (which
// can also be read) and the formats that are written only, for the tools
// further down a surveyor's chain: csv, geojson, dxf, landxml and kml.
//
// A format writes a whole file as a stream: begin() once, then write() for
// each point in order, then end(). A writer keeps only what its format
// needs across points (the row number; DXF the marks it has given a layer),
// so memory does not grow with the number of points; KML, which groups the
// points by mark, keeps them in a scratch file until end(). Every line ends
// with CR LF, as the window programs' files do; DXF's with LF alone, as
// drawings have them.
//
// Texts: the exchange formats and csv write names and marks as the bytes
// they are, in the points' own code page. geojson, dxf, landxml and kml are
// UTF-8 and convert them from the code page that WriteSettings names; a
// point whose texts are not text of that code page is refused, as one whose
// value a format cannot carry is.
//
// Coordinates: every format but geojson and kml writes N, E and Z as they
// are. With the points' coordinate system (WriteSettings::crs) geojson
// writes WGS 84 longitude and latitude instead, as GeoJSON means its
// positions; without one, the grid coordinates, as a GIS writes a layer whose
// system it does not know. kml is always in longitude and latitude and
// needs the system. A point that has no position in it is refused.
//
// The window programs' own file types stay the five of files/ExchangeFormat.h;
// the window's export for CAD and GIS uses the written-only formats of this
// list.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "files/ExchangeFormat.h"

class CoordinateSystem;
class FileSystem;
class TextEncoding;
class TextSink;

// What a writer needs beyond the points.
struct WriteSettings {
    // The code page of the points' texts, from which the UTF-8 formats
    // convert them; nullptr when they are UTF-8 already. The other formats
    // ignore it.
    const TextEncoding* encoding = nullptr;
    // Where a format that must see every point before its first line (DXF,
    // for its table of layers) keeps the points meanwhile: a scratch file
    // of this file system (FileSystem::createScratchFile). Without one, or
    // when none can be made, it keeps them in memory.
    FileSystem* files = nullptr;
    // The coordinate system of the points' N and E, for the formats that
    // write longitude and latitude (Coordinates below); nullptr when it is
    // not known. The other formats ignore it.
    CoordinateSystem* crs = nullptr;
};

// Why a format does not write a point.
enum class Refusal {
    None,
    Value,             // a coordinate it cannot carry (an exchange format: one it would write as another value)
    NotInEncoding,     // a name or mark that is not text of the points' code page (a UTF-8 format)
    ControlCharacter,  // a name or mark with a control character that the format has no way to write
    NoPosition,        // N and E with no longitude and latitude in the coordinate system (or none known)
};

// What a format writes for a point's position.
enum class Coordinates {
    Grid,         // N, E and Z as they are
    GridOrWgs84,  // WGS 84 longitude and latitude where the coordinate system is known, else as Grid
    Wgs84,        // WGS 84 longitude and latitude: the coordinate system must be known
};

class PointWriter {
public:
    virtual ~PointWriter() = default;
    virtual void begin() = 0;
    // Writes a point that the format does not refuse.
    virtual void write(const PointRecord& point) = 0;
    // Ends the file. A writer that kept the points writes them now; should
    // keeping them have failed, it writes nothing more and leaves out failed.
    virtual void end() = 0;
    // True for a writer that keeps every point until end() (DXF, whose
    // table of layers comes before the entities): nothing reaches the
    // output before then.
    virtual bool writesAtEnd() const { return false; }
};

struct PointFormat {
    const char* name;         // "topcom", as typed on the command line
    int number;               // the ExchangeFormat number, 0 for a written-only format
    const char* extension;    // ".pts", for files named after their input
    const char* description;  // one line for the list of formats
    const char* texts;        // what its names and marks are: "the points' code page" or "UTF-8"
    const FormatInfo* exchange;  // reader and writer of an exchange format; nullptr when written only

    std::unique_ptr<PointWriter> (*open)(TextSink& out, const WriteSettings& settings);
    Refusal (*refuses)(const PointRecord& point, const WriteSettings& settings);
    Coordinates coordinates = Coordinates::Grid;

    bool readable() const { return exchange != nullptr; }
    bool convertsTexts() const;  // true for a UTF-8 format
};

// The formats in the order they are listed: the five by number, then csv,
// geojson, dxf, landxml, kml.
std::size_t pointFormatCount();
const PointFormat& pointFormatAt(std::size_t index);

// The format of this name (case-insensitive) or number ("1" to "5");
// nullptr for any other text.
const PointFormat* findPointFormat(std::string_view nameOrNumber);

// Writes points in one format, counting the rows.
class PointStream {
public:
    PointStream(const PointFormat& format, TextSink& out, const WriteSettings& settings = WriteSettings());

    void begin() { writer_->begin(); }
    Refusal refusal(const PointRecord& point) const { return format_.refuses(point, settings_); }
    bool canHold(const PointRecord& point) const { return refusal(point) == Refusal::None; }
    // Writes the point (callers check refusal first).
    void write(const PointRecord& point) {
        ++rows_;
        writer_->write(point);
    }
    void end() { writer_->end(); }
    bool writesAtEnd() const { return writer_->writesAtEnd(); }
    long rows() const { return rows_; }

private:
    const PointFormat& format_;
    const WriteSettings settings_;
    std::unique_ptr<PointWriter> writer_;
    long rows_ = 0;
};

// The refusals that the written-only formats share: a coordinate that is
// not finite (no csv, JSON or DXF number, nor XML text, carries infinity or
// NaN); for a UTF-8 format also texts that are not text of the points' code
// page; for an XML format also a control character other than tab, LF and
// CR, or U+FFFE or U+FFFF, which XML 1.0 cannot carry in any form.
Refusal csvRefuses(const PointRecord& point, const WriteSettings& settings);
Refusal utf8Refuses(const PointRecord& point, const WriteSettings& settings);
Refusal xmlRefuses(const PointRecord& point, const WriteSettings& settings);
// geojson's and kml's: also a point with no position in the coordinate
// system (kml: or with none known).
Refusal geoJsonRefuses(const PointRecord& point, const WriteSettings& settings);
Refusal kmlRefuses(const PointRecord& point, const WriteSettings& settings);

// The writers of the written-only formats, one per file.
std::unique_ptr<PointWriter> openCsv(TextSink& out, const WriteSettings& settings);
std::unique_ptr<PointWriter> openGeoJson(TextSink& out, const WriteSettings& settings);
std::unique_ptr<PointWriter> openDxf(TextSink& out, const WriteSettings& settings);
std::unique_ptr<PointWriter> openLandXml(TextSink& out, const WriteSettings& settings);
std::unique_ptr<PointWriter> openKml(TextSink& out, const WriteSettings& settings);
