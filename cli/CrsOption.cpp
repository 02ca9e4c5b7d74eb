#include "cli/CrsOption.h"

#include <cstdio>

#include "cli/OutputFiles.h"
#include "cli/Report.h"
#include "files/CoordinateSystem.h"
#include "files/ExchangeLine.h"
#include "files/GaussKrugerZone.h"
#include "files/LineSource.h"
#include "files/PointFormats.h"

namespace {

constexpr int kUsage = 2;
constexpr int kFailure = 1;
// How far into a file the zone is looked for.
constexpr long kZoneLines = 1000;

// What the user may give, and for the inputs' zone, the systems it likely is.
std::string howToName(const CrsRequest& request, CoordinateSystems& systems, OutputFiles& files) {
    for (const std::string& input : request.inputs) {
        const int zone = request.from ? zoneOfInput(input, *request.from, files) : 0;
        if (zone == 0) continue;
        const std::vector<SystemSuggestion> suggestions =
            systems.missingData().empty() ? gaussKrugerSystems(zone, systems) : std::vector<SystemSuggestion>();
        if (suggestions.empty()) break;
        return "; the eastings of " + input + " carry Gauss-Kruger zone " + std::to_string(zone) + ": --crs " +
               suggestionText(suggestions);
    }
    return " (an EPSG code, a PROJ string or WKT), e.g. --crs EPSG:4526 for CGCS2000 / 3-degree Gauss-Kruger "
           "zone 38 (eastings 38xxxxxx.xxx), --crs EPSG:32650 for WGS 84 / UTM zone 50N; "
           "pointlink convert --help lists the zones";
}

}  // namespace

std::string systemText(const CoordinateSystem& crs) {
    return crs.code().empty() ? crs.name() : crs.code() + " (" + crs.name() + ")";
}

int zoneOfInput(const std::string& input, const PointFormat& from, OutputFiles& files) {
    if (input == kStandardStream || !from.exchange) return 0;
    std::FILE* file = files.openInput(input);
    if (!file) return 0;
    LineSource lines(file);
    PointRecord point;
    int zone = 0;
    for (long line = 0; zone == 0 && line < kZoneLines; ++line) {
        const char* text = lines.next();
        if (!text) break;
        if (readPointLine(*from.exchange, text, point)) zone = gaussKrugerZoneOf(point.e);
    }
    std::fclose(file);
    return zone;
}

int openCrs(const CrsRequest& request, CoordinateSystems& systems, OutputFiles& files, Report& report,
            std::unique_ptr<CoordinateSystem>& crs) {
    crs.reset();
    const std::string format = request.to->name;
    if (request.text.empty()) {
        if (request.to->coordinates != Coordinates::Wgs84) return 0;
        report.program(format + " is written in WGS 84 longitude and latitude: name the coordinate system of the "
                                "points' N and E with --crs" +
                       howToName(request, systems, files));
        return kUsage;
    }
    if (request.to->coordinates == Coordinates::Grid) {
        report.program("--crs: " + format +
                       " holds the grid coordinates as they are; geojson and kml are written in longitude and "
                       "latitude");
        return kUsage;
    }
    const std::string missing = systems.missingData();
    if (!missing.empty()) {
        report.program(missing);
        return kFailure;
    }
    std::string error;
    crs = systems.open(request.text, error);
    if (!crs) {
        report.program("--crs '" + request.text + "': " + error);
        return kUsage;
    }
    return 0;
}
