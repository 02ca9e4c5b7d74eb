// --crs on convert and receive: the coordinate system of the points' N and
// E (files/CoordinateSystem.h), opened for the output format before
// anything is read or the port is opened.
//
// A format that writes longitude and latitude only (kml) needs it; one that
// writes grid coordinates only (the exchange formats, csv, dxf, landxml)
// has no use for it. Either mistake, and a system that PROJ does not know
// or cannot convert to WGS 84, is wrong usage (exit status 2) with PROJ's
// reason; a missing database is a failure of the installation (1).
//
// The messages help with the zone: where the eastings of the first input
// carry a Gauss-Kruger zone in front (files/GaussKrugerZone.h), they name
// that zone's systems with their codes from the database.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CoordinateSystem;
class CoordinateSystems;
class OutputFiles;
class Report;
struct PointFormat;

struct CrsRequest {
    std::string text;  // what --crs gave; empty when it was not given
    const PointFormat* to = nullptr;
    // The inputs of a convert and their format, for the zone their eastings
    // carry; none for a receive.
    std::vector<std::string> inputs;
    const PointFormat* from = nullptr;
};

// Opens the system for the request into crs (nullptr when none is needed).
// 0 when the command can go on; else its exit status, having reported why.
int openCrs(const CrsRequest& request, CoordinateSystems& systems, OutputFiles& files, Report& report,
            std::unique_ptr<CoordinateSystem>& crs);

// A system as messages name it: "EPSG:4526 (CGCS2000 / 3-degree Gauss-Kruger
// zone 38)"; its name alone when it has no code.
std::string systemText(const CoordinateSystem& crs);

// The zone that the eastings of the first points of a file carry; 0 when
// they carry none, or it cannot be read (standard input is never read
// ahead).
int zoneOfInput(const std::string& input, const PointFormat& from, OutputFiles& files);
