// What the coordinate-system dialog of "Export for CAD/GIS..." does apart
// from its window: the KML and GeoJSON in WGS 84 need the system of the
// points' N and E, which the user names as pointlink's --crs takes it (an
// EPSG code, PROJ text, WKT).
//
//   crsPrefill()  the text the entry starts with: the choice made earlier in
//                 the run, else the CGCS2000 system of the Gauss-Kruger zone
//                 that the eastings carry in front, else nothing;
//   describe()    the line under the entry, as the text is typed: the
//                 system's name, or PROJ's reason it names none, or what of
//                 PROJ's database is missing;
//   confirm()     OK: true and the system opened when the text names one;
//                 false, with describe()'s reason, keeps the dialog open.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "files/CoordinateSystem.h"

class PointStore;

std::string crsPrefill(const std::string& lastChoice, const PointStore& points, CoordinateSystems& systems);

class CrsChoice {
public:
    // hint: what the line says while the entry is empty.
    CrsChoice(CoordinateSystems& systems, std::string hint) : systems_(systems), hint_(std::move(hint)) {}

    // The system's name for a text that names one; else why not (the hint
    // for an empty text).
    std::string describe(const std::string& text);

    // Opens the system that text names (kept for chosen()); false when it
    // names none, with the reason in shown.
    bool confirm(const std::string& text, std::string& shown);

    // The system the last successful confirm() opened; nullptr before.
    std::unique_ptr<CoordinateSystem> takeChosen() { return std::move(chosen_); }

private:
    std::unique_ptr<CoordinateSystem> open(const std::string& text, std::string& shown);

    CoordinateSystems& systems_;
    std::string hint_;
    std::unique_ptr<CoordinateSystem> chosen_;
};
