// The coordinate system of the points' N and E, and their position on the
// earth: WGS 84 longitude and latitude, which a GIS or a globe needs (the
// GeoJSON and KML outputs).
//
// Survey points are grid coordinates: a Gauss-Kruger zone of CGCS2000 in
// China, a UTM zone or a national grid elsewhere. The user names the
// system as the field's tools do: an EPSG code ("EPSG:4526"), a PROJ string
// ("+proj=utm +zone=50 +datum=WGS84"), or WKT. One implementation, over
// PROJ and its database (files/proj); everything else sees only these
// interfaces, so that a program that converts no coordinates links no
// PROJ.
//
// Heights are not converted: Z stays as the points carry it.
#pragma once

#include <memory>
#include <string>

// A position in WGS 84, in degrees: longitude east, latitude north.
struct GeoPosition {
    double longitude = 0.0;
    double latitude = 0.0;
};

// A rectangle of longitude and latitude, in degrees. west is greater than
// east for one that crosses the 180th meridian.
struct GeoArea {
    double west = -180.0, south = -90.0, east = 180.0, north = 90.0;

    bool contains(const GeoPosition& position) const;
};

class CoordinateSystem {
public:
    virtual ~CoordinateSystem() = default;

    // Its name as the database has it ("CGCS2000 / 3-degree Gauss-Kruger
    // zone 38"); for one that has no name (a PROJ string), the text it was
    // opened by.
    virtual const std::string& name() const = 0;

    // Its code in the database ("EPSG:4526"); empty for one that has none.
    virtual const std::string& code() const = 0;

    // Where the system is meant to be used; nullptr when it does not say
    // (a PROJ string, WKT without a usage).
    virtual const GeoArea* areaOfUse() const = 0;

    // The WGS 84 position of the grid coordinates north and east (for a
    // geographic system, latitude and longitude). False when they have
    // none: too far outside the projection's reach to be converted. Asked
    // twice in a row for the same point, it converts once.
    virtual bool position(double north, double east, GeoPosition& out) = 0;
};

// The systems that can be opened, and the database behind them.
class CoordinateSystems {
public:
    virtual ~CoordinateSystems() = default;

    // Empty when the database is there; else what is missing and where it
    // was looked for, in words for the user. Nothing can be opened then.
    virtual std::string missingData() = 0;

    // The system that text names, with its conversion to WGS 84; nullptr
    // when text names none, or one that has no conversion to longitude and
    // latitude (a geocentric or vertical system, a local grid), with the
    // reason in error, in PROJ's words.
    virtual std::unique_ptr<CoordinateSystem> open(const std::string& text, std::string& error) = 0;

    // The code ("EPSG:4526") of the system of exactly this name in the
    // database; empty when there is none.
    virtual std::string codeOfName(const std::string& name) = 0;
};
