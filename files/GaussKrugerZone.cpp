#include "files/GaussKrugerZone.h"

#include <cmath>

#include "files/CoordinateSystem.h"

namespace {

constexpr int kSixDegreeFirst = 13, kSixDegreeLast = 23;
constexpr int kThreeDegreeFirst = 25, kThreeDegreeLast = 45;
constexpr const char* kDatums[] = {"CGCS2000", "Beijing 1954", "Xian 1980"};

}  // namespace

int gaussKrugerZoneOf(double east) {
    if (!(east >= 1e7 && east < 1e8)) return 0;
    const int zone = static_cast<int>(std::floor(east / 1e6));
    const bool sixDegree = zone >= kSixDegreeFirst && zone <= kSixDegreeLast;
    const bool threeDegree = zone >= kThreeDegreeFirst && zone <= kThreeDegreeLast;
    return sixDegree || threeDegree ? zone : 0;
}

std::vector<std::string> gaussKrugerSystemNames(int zone) {
    std::vector<std::string> names;
    const char* kind = nullptr;
    if (zone >= kSixDegreeFirst && zone <= kSixDegreeLast)
        kind = " / Gauss-Kruger zone ";
    else if (zone >= kThreeDegreeFirst && zone <= kThreeDegreeLast)
        kind = " / 3-degree Gauss-Kruger zone ";
    else
        return names;
    for (const char* datum : kDatums) names.push_back(datum + std::string(kind) + std::to_string(zone));
    return names;
}

std::vector<SystemSuggestion> gaussKrugerSystems(int zone, CoordinateSystems& systems) {
    std::vector<SystemSuggestion> found;
    for (const std::string& name : gaussKrugerSystemNames(zone)) {
        std::string code = systems.codeOfName(name);
        if (!code.empty()) found.push_back({code, name});
    }
    return found;
}

std::string suggestionText(const std::vector<SystemSuggestion>& suggestions) {
    std::string text;
    for (const SystemSuggestion& suggestion : suggestions)
        text += (text.empty() ? "" : ", or ") + suggestion.code + " (" + suggestion.name + ")";
    return text;
}
