// The likely coordinate system of points whose eastings carry a Gauss-
// Kruger zone in front, as Chinese survey grids write them: 38512345.567 is
// 512345.567 m in zone 38, eight digits before the point, the first two the
// zone.
//
// China's grids number 6-degree zones 13 to 23 and 3-degree zones 25 to 45,
// so the number alone tells which kind a zone is. Each zone is a system of
// CGCS2000, today's datum, and of the older Beijing 1954 and Xian 1980;
// their codes come from the database, by name, not from a table here.
#pragma once

#include <string>
#include <vector>

class CoordinateSystems;

// The zone that an easting carries in front; 0 when it carries none (not
// eight digits before the point, or a number that is no zone of China's
// grids).
int gaussKrugerZoneOf(double east);

// The names of the systems of a zone, likeliest first: CGCS2000, then
// Beijing 1954 and Xian 1980. Empty for a number that is no zone.
std::vector<std::string> gaussKrugerSystemNames(int zone);

struct SystemSuggestion {
    std::string code;  // "EPSG:4526"
    std::string name;  // "CGCS2000 / 3-degree Gauss-Kruger zone 38"
};

// The systems of a zone that the database has, in the order above.
std::vector<SystemSuggestion> gaussKrugerSystems(int zone, CoordinateSystems& systems);

// "EPSG:4526 (CGCS2000 / 3-degree Gauss-Kruger zone 38)", the others after
// it with ", or ".
std::string suggestionText(const std::vector<SystemSuggestion>& suggestions);
