#include "cli/OutsideArea.h"

#include <cstdio>

#include "cli/CrsOption.h"
#include "cli/Report.h"
#include "files/CoordinateSystem.h"
#include "files/GaussKrugerZone.h"

namespace {

// "112.5 to 115.5 E, 21.52 to 45.45 N"
std::string areaText(const GeoArea& area) {
    char text[128];
    std::snprintf(text, sizeof text, "%g to %g E, %g to %g N", area.west, area.east, area.south, area.north);
    return text;
}

}  // namespace

void OutsideArea::check(const PointRecord& point, const std::string& where, long line) {
    const GeoArea* area = crs_.areaOfUse();
    GeoPosition position;
    if (!area || !crs_.position(point.n, point.e, position) || area->contains(position)) return;
    if (count_++ == 0) {
        first_ = point;
        firstWhere_ = where;
        firstLine_ = line;
    }
}

void OutsideArea::warn(Report& report, CoordinateSystems* systems) {
    if (count_ == 0) return;
    const GeoArea& area = *crs_.areaOfUse();
    std::string text = "warning: " + pointCount(count_) + (count_ == 1 ? " lies" : " lie") +
                       " outside the area of use of " + systemText(crs_) + ", " + areaText(area) +
                       ", and went out as they are; the first is " + shownText(first_.name);
    if (firstLine_ == 0 && !firstWhere_.empty()) text += " from " + firstWhere_;
    GeoPosition swapped;
    const int zone = gaussKrugerZoneOf(first_.e);
    if (crs_.position(first_.e, first_.n, swapped) && area.contains(swapped)) {
        text += ": its N and E look swapped";
    } else if (zone != 0 && systems) {
        const std::vector<SystemSuggestion> suggestions = gaussKrugerSystems(zone, *systems);
        if (!suggestions.empty())
            text += ", whose easting carries Gauss-Kruger zone " + std::to_string(zone) + ": " +
                    suggestionText(suggestions) + "?";
    }
    if (firstLine_ > 0)
        report.atLine(firstWhere_, firstLine_, text);
    else
        report.program(text);
}
