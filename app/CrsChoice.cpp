#include "app/CrsChoice.h"

#include <vector>

#include "files/CoordinateSystem.h"
#include "files/GaussKrugerZone.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

std::string crsPrefill(const std::string& lastChoice, const PointStore& points, CoordinateSystems& systems) {
    if (!lastChoice.empty()) return lastChoice;
    if (!systems.missingData().empty()) return std::string();
    for (const PointRecord& point : points) {
        const int zone = gaussKrugerZoneOf(point.e);
        if (zone == 0) continue;
        // CGCS2000's system comes first: today's datum.
        const std::vector<SystemSuggestion> suggestions = gaussKrugerSystems(zone, systems);
        return suggestions.empty() ? std::string() : suggestions.front().code;
    }
    return std::string();
}

std::unique_ptr<CoordinateSystem> CrsChoice::open(const std::string& text, std::string& shown) {
    shown = hint_;
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return nullptr;
    shown = systems_.missingData();
    if (!shown.empty()) return nullptr;
    std::unique_ptr<CoordinateSystem> crs = systems_.open(text, shown);
    if (crs) shown = crs->name();
    return crs;
}

std::string CrsChoice::describe(const std::string& text) {
    std::string shown;
    open(text, shown);
    return shown;
}

bool CrsChoice::confirm(const std::string& text, std::string& shown) {
    std::unique_ptr<CoordinateSystem> crs = open(text, shown);
    if (!crs) return false;
    chosen_ = std::move(crs);
    return true;
}
