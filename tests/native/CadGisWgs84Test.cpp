// "Export for CAD/GIS..." in WGS 84: the coordinate-system dialog's entry
// and line (app/CrsChoice.h), the choice kept for the run, and the KML and
// GeoJSON written with it. A fake stands in for PROJ: one zone system whose
// longitude is E / 1e6 and latitude N / 1e6, used between 38 and 39 E and 0
// and 10 N, so that every position is known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "app/CrsChoice.h"
#include "fakes/FileHarness.h"
#include "files/CoordinateSystem.h"

namespace {

using Names = FileHarness::Names;

const char kZone38[] = "CGCS2000 / 3-degree Gauss-Kruger zone 38";

class ScaledSystem : public CoordinateSystem {
public:
    ScaledSystem(std::string name, std::string code, bool withArea) : name_(name), code_(code), area_{38, 0, 39, 10} {
        if (!withArea) area_ = GeoArea();
    }
    const std::string& name() const override { return name_; }
    const std::string& code() const override { return code_; }
    const GeoArea* areaOfUse() const override { return &area_; }
    bool position(double north, double east, GeoPosition& out) override {
        out = {east / 1e6, north / 1e6};
        return std::fabs(east) < 1e9;  // farther has no position
    }

private:
    std::string name_, code_;
    GeoArea area_;
};

class FakeSystems : public CoordinateSystems {
public:
    std::string missingData() override { return missing; }
    std::unique_ptr<CoordinateSystem> open(const std::string& text, std::string& error) override {
        ++opened;
        if (text == "EPSG:4526") return std::make_unique<ScaledSystem>(kZone38, "EPSG:4526", true);
        if (text == "+proj=scaled") return std::make_unique<ScaledSystem>("+proj=scaled", "", false);
        error = "PROJ does not know it";
        return nullptr;
    }
    std::string codeOfName(const std::string& name) override { return name == kZone38 ? "EPSG:4526" : ""; }

    std::string missing;
    int opened = 0;
};

struct Wgs84Harness : FileHarness {
    Wgs84Harness() { platform.coordinateSystems = &systems; }
    // Saves as type 5 (KML) or 6 (GeoJSON in WGS 84), typing each text of
    // typed into the dialog with OK after it.
    void exportAs(const std::string& name, int type, std::vector<std::string> typed) {
        dialogs.crsAnswers.push_back(std::move(typed));
        files.picks.push_back({true, path(name), type});
        app.command(kMenuListCadGis);
    }
    FakeSystems systems;
};

// The numbers of every "lon,lat,z" (KML) or "[lon, lat, z]" (GeoJSON) in
// the file, in order.
std::vector<double> numbersAfter(const std::string& bytes, const std::string& start, const char* end) {
    std::vector<double> numbers;
    for (std::size_t at = 0; (at = bytes.find(start, at)) != std::string::npos;) {
        at += start.size();
        const std::size_t stop = bytes.find(end, at);
        const char* text = bytes.c_str() + at;
        char* next = nullptr;
        while (text < bytes.c_str() + stop) {
            numbers.push_back(std::strtod(text, &next));
            text = next + 1;
        }
    }
    return numbers;
}

TEST(CrsChoice, PrefillsTheLastChoiceElseTheZonesCgcs2000System) {
    struct Case {
        const char* last;
        double east;  // of the list's one point; 0: an empty list
        const char* missing;
        const char* prefill;
    } cases[] = {
        {"", 0, "", ""},
        {"", 512345.5, "", ""},                    // no zone in front
        {"", 38512345.5, "", "EPSG:4526"},
        {"", 39512345.5, "", ""},                  // a zone whose system the database lacks
        {"+proj=scaled", 38512345.5, "", "+proj=scaled"},
        {"", 38512345.5, "proj.db is missing", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.east);
        FakeSystems systems;
        systems.missing = c.missing;
        PointStore points;
        if (c.east != 0) points.append(makePoint("P", "", 4000000, c.east, 0));
        EXPECT_EQ(crsPrefill(c.last, points, systems), c.prefill);
    }
}

TEST(CrsChoice, ShowsTheNameOrWhyNoneAndConfirmsOnlyAKnownSystem) {
    struct Case {
        const char* typed;
        const char* missing;
        const char* shown;
    } cases[] = {
        {"", "", "hint"},
        {"  ", "", "hint"},
        {"EPSG:4526", "", kZone38},
        {"+proj=scaled", "", "+proj=scaled"},
        {"EPSG:452", "", "PROJ does not know it"},
        {"EPSG:4526", "proj.db is missing", "proj.db is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FakeSystems systems;
        systems.missing = c.missing;
        CrsChoice choice(systems, "hint");
        EXPECT_EQ(choice.describe(c.typed), c.shown);
        std::string shown;
        const bool known = c.shown == std::string(c.typed) || c.shown == std::string(kZone38);
        EXPECT_EQ(choice.confirm(c.typed, shown), known);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(choice.takeChosen() != nullptr, known);
    }
}

// The dialog starts with the zone's system, refuses a text PROJ does not
// know, and the KML holds each point at its WGS 84 position; the next
// export starts with the choice made, which Cancel does not change.
TEST(CadGisWgs84, AsksForTheSystemKeepsItForTheRunAndWritesPositions) {
    Wgs84Harness h;
    h.app.appendRow(h.point("A", 4000000.5, 38512345.25, 12.5, "TREE"));
    h.app.appendRow(h.point("B", 4100000, 38600000, -1, "WALL"));
    h.exportAs("globe", 5, {"EPSG:452", "EPSG:4526"});
    EXPECT_EQ(h.dialogs.crsStarts, (Names{"EPSG:4526"}));
    EXPECT_EQ(h.dialogs.crsLines, (Names{kZone38, "PROJ does not know it", "PROJ does not know it", kZone38, kZone38}));
    EXPECT_TRUE(h.boxes.shown.empty());
    ASSERT_EQ(h.names(), (Names{"globe.kml"}));
    const std::vector<double> kml = numbersAfter(h.read("globe.kml"), "<coordinates>", "</coordinates>");
    const std::vector<double> expected = {38.51234525, 4.0000005, 12.5, 38.6, 4.1, -1};
    ASSERT_EQ(kml.size(), expected.size());
    for (std::size_t i = 0; i < kml.size(); ++i) EXPECT_NEAR(kml[i], expected[i], 1e-9) << i;

    h.exportAs("layer", 6, {"+proj=scaled"});
    EXPECT_EQ(h.dialogs.crsStarts.back(), "EPSG:4526");
    const std::vector<double> json = numbersAfter(h.read("layer.geojson"), "\"coordinates\":[", "]");
    ASSERT_EQ(json.size(), expected.size());
    for (std::size_t i = 0; i < json.size(); ++i) EXPECT_NEAR(json[i], expected[i], 1e-9) << i;

    h.exportAs("cancelled", 5, {"EPSG:452"});  // refused, then Cancel
    h.exportAs("again", 5, {});
    EXPECT_EQ(h.dialogs.crsStarts, (Names{"EPSG:4526", "EPSG:4526", "+proj=scaled", "+proj=scaled"}));
    EXPECT_EQ(h.names(), (Names{"globe.kml", "layer.geojson"}));
    EXPECT_TRUE(h.boxes.shown.empty());
    EXPECT_TRUE(h.app.modified());
}

// A point with no position stops the export before any file is touched;
// points outside the area of use are written, and counted in one warning.
TEST(CadGisWgs84, RefusesAPointWithNoPositionAndWarnsOfPointsOutsideTheArea) {
    for (int type : {5, 6}) {
        Wgs84Harness h;
        h.app.appendRow(h.point("IN", 4000000, 38500000, 0));
        h.app.appendRow(h.point("FAR", 0, 5e9, 0));
        h.write("old.kml", "old bytes");
        h.exportAs("old.kml", type, {"EPSG:4526"});
        EXPECT_EQ(h.boxes.texts(), (Names{"text58"}));
        EXPECT_EQ(h.read("old.kml"), "old bytes");
        EXPECT_TRUE(h.files.created.empty());

        Wgs84Harness out;
        out.app.appendRow(out.point("IN", 4000000, 38500000, 0));
        out.app.appendRow(out.point("WEST", 4000000, 37900000, 0));
        out.app.appendRow(out.point("SWAPPED", 38500000, 4000000, 0));
        out.exportAs("out", type, {"EPSG:4526"});
        ASSERT_EQ(out.boxes.shown.size(), 1u);
        EXPECT_EQ(out.boxes.shown[0].icon, BoxIcon::Warning);
        EXPECT_EQ(out.names().size(), 1u);
        // A system with no area of use warns of nothing.
        out.exportAs("plain", type, {"+proj=scaled"});
        EXPECT_EQ(out.boxes.shown.size(), 1u);
    }
}

}  // namespace
