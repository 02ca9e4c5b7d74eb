// The coordinate systems over PROJ, the zone that eastings carry, and areas
// of use. (The positions themselves are checked against pyproj by
// test_crs.py.)
#include "files/CoordinateSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CliFixture.h"
#include "files/GaussKrugerZone.h"
#include "files/proj/ProjCoordinateSystems.h"

namespace {

CoordinateSystems& systems() {
    static std::unique_ptr<CoordinateSystems> opened = openProjCoordinateSystems(std::string());
    return *opened;
}

std::unique_ptr<CoordinateSystem> open(const std::string& text) {
    std::string error;
    std::unique_ptr<CoordinateSystem> crs = systems().open(text, error);
    EXPECT_TRUE(crs) << text << ": " << error;
    return crs;
}

TEST(GaussKrugerZone, TheZoneIsTheTwoDigitsInFrontOfAnEightDigitEasting) {
    const struct {
        double east;
        int zone;
    } cases[] = {
        {38512345.567, 38}, {38000000.0, 38}, {25400000.0, 25}, {45600000.0, 45}, {13500000.0, 13},
        {23500000.0, 23},   {512345.567, 0},  {24500000.0, 0},  {12500000.0, 0},  {46500000.0, 0},
        {99999999.0, 0},    {1e8, 0},         {-38512345.0, 0}, {9999999.999, 0}, {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(gaussKrugerZoneOf(c.east), c.zone) << c.east;
}

TEST(GaussKrugerZone, EachZoneOfChinasGridsHasItsThreeSystemsInTheDatabase) {
    for (int zone = 10; zone <= 50; ++zone) {
        const std::vector<std::string> names = gaussKrugerSystemNames(zone);
        const bool isZone = (zone >= 13 && zone <= 23) || (zone >= 25 && zone <= 45);
        ASSERT_EQ(names.size(), isZone ? 3u : 0u) << zone;
        const std::vector<SystemSuggestion> found = gaussKrugerSystems(zone, systems());
        ASSERT_EQ(found.size(), names.size()) << zone;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].name, names[i]);
            // The code opens the system of that very name, whose central
            // meridian is the zone's: 3 or 6 degrees a zone. (CGCS2000 is
            // WGS 84 to a few centimetres; the older datums are shifted by
            // up to some hundred metres.)
            const std::unique_ptr<CoordinateSystem> crs = open(found[i].code);
            ASSERT_TRUE(crs);
            EXPECT_EQ(crs->name(), names[i]);
            EXPECT_EQ(crs->code(), found[i].code);
            GeoPosition middle;
            ASSERT_TRUE(crs->position(3500000.0, zone * 1e6 + 500000.0, middle));
            EXPECT_NEAR(middle.longitude, zone <= 23 ? zone * 6.0 - 3.0 : zone * 3.0, i == 0 ? 1e-9 : 0.01)
                << names[i];
        }
    }
    EXPECT_EQ(suggestionText({{"EPSG:1", "A"}, {"EPSG:2", "B"}}), "EPSG:1 (A), or EPSG:2 (B)");
    EXPECT_EQ(systems().codeOfName("CGCS2000 / 3-degree Gauss-Kruger zone 99"), "");
}

TEST(GeoArea, HoldsItsEdgesAndMayCrossThe180thMeridian) {
    const GeoArea china{112.5, 21.52, 115.5, 45.45};
    const GeoArea pacific{170.0, -50.0, -170.0, -30.0};
    const struct {
        const GeoArea& area;
        double longitude, latitude;
        bool inside;
    } cases[] = {
        {china, 114.0, 30.0, true},    {china, 112.5, 21.52, true},   {china, 115.5, 45.45, true},
        {china, 112.49, 30.0, false},  {china, 115.51, 30.0, false},  {china, 114.0, 45.46, false},
        {china, 30.0, 114.0, false},   {pacific, 175.0, -40.0, true}, {pacific, -175.0, -40.0, true},
        {pacific, 180.0, -40.0, true}, {pacific, 0.0, -40.0, false},  {pacific, 175.0, -29.0, false},
        {china, std::nan(""), 30.0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.area.contains({c.longitude, c.latitude}), c.inside) << c.longitude << " " << c.latitude;
}

TEST(ProjCoordinateSystems, OpensCodesProjStringsAndWktAndSaysWhyNot) {
    const std::unique_ptr<CoordinateSystem> zone38 = open("EPSG:4526");
    ASSERT_TRUE(zone38);
    EXPECT_EQ(zone38->name(), "CGCS2000 / 3-degree Gauss-Kruger zone 38");
    ASSERT_NE(zone38->areaOfUse(), nullptr);
    EXPECT_EQ(zone38->areaOfUse()->west, 112.5);
    EXPECT_EQ(zone38->areaOfUse()->east, 115.5);

    // A PROJ string, with or without saying it is a system, has the text
    // for its name and no area; WKT has its own name.
    for (const char* text : {"+proj=utm +zone=50 +datum=WGS84", "+proj=utm +zone=50 +datum=WGS84 +type=crs"}) {
        const std::unique_ptr<CoordinateSystem> utm = open(text);
        ASSERT_TRUE(utm);
        EXPECT_EQ(utm->name(), text);
        EXPECT_EQ(utm->code(), "");
        EXPECT_EQ(utm->areaOfUse(), nullptr);
    }
    const std::unique_ptr<CoordinateSystem> wkt = open(
        "PROJCRS[\"My grid\",BASEGEOGCRS[\"WGS 84\",DATUM[\"World Geodetic System 1984\",ELLIPSOID[\"WGS 84\","
        "6378137,298.257223563]]],CONVERSION[\"UTM zone 50N\",METHOD[\"Transverse Mercator\",ID[\"EPSG\",9807]],"
        "PARAMETER[\"Latitude of natural origin\",0],PARAMETER[\"Longitude of natural origin\",117],"
        "PARAMETER[\"Scale factor at natural origin\",0.9996],PARAMETER[\"False easting\",500000],"
        "PARAMETER[\"False northing\",0]],CS[Cartesian,2],AXIS[\"easting\",east,LENGTHUNIT[\"metre\",1]],"
        "AXIS[\"northing\",north,LENGTHUNIT[\"metre\",1]]]");
    ASSERT_TRUE(wkt);
    EXPECT_EQ(wkt->name(), "My grid");

    for (const char* text : {"EPSG:99999", "no such thing", "", "EPSG:4978", "EPSG:5703", "+proj=cart"}) {
        std::string error;
        EXPECT_EQ(systems().open(text, error), nullptr) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(ProjCoordinateSystems, NorthAndEastGoInAsNorthAndEastWhateverTheSystemsAxisOrder) {
    // EPSG:4526 orders its axes northing first, the UTM string easting
    // first: both take N and E as such. Points east and west of the central
    // meridian lie symmetric about it; points to the north lie further north.
    struct Case {
        const char* crs;
        double falseEasting, meridian;
    } cases[] = {{"EPSG:4526", 38500000.0, 114.0}, {"+proj=utm +zone=50 +datum=WGS84", 500000.0, 117.0},
                 {"EPSG:32650", 500000.0, 117.0}};
    for (const Case& c : cases) {
        const std::unique_ptr<CoordinateSystem> crs = open(c.crs);
        ASSERT_TRUE(crs);
        for (double offset : {1.0, 1000.0, 150000.0}) {
            GeoPosition east, west, north;
            ASSERT_TRUE(crs->position(3300000.0, c.falseEasting + offset, east));
            ASSERT_TRUE(crs->position(3300000.0, c.falseEasting - offset, west));
            ASSERT_TRUE(crs->position(3300000.0 + offset, c.falseEasting, north));
            EXPECT_NEAR(east.longitude - c.meridian, c.meridian - west.longitude, 1e-9) << c.crs;
            EXPECT_GT(east.longitude, c.meridian) << c.crs;
            EXPECT_NEAR(east.latitude, west.latitude, 1e-9) << c.crs;
            EXPECT_GT(north.latitude, east.latitude) << c.crs;
            EXPECT_NEAR(north.longitude, c.meridian, 1e-9) << c.crs;
            // Asked again, the same answer.
            GeoPosition again;
            ASSERT_TRUE(crs->position(3300000.0, c.falseEasting + offset, again));
            EXPECT_EQ(again.longitude, east.longitude);
            EXPECT_EQ(again.latitude, east.latitude);
        }
    }
}

TEST(ProjCoordinateSystems, GridCoordinatesFarOutsideTheProjectionHaveNoPosition) {
    const std::unique_ptr<CoordinateSystem> zone38 = open("EPSG:4526");
    ASSERT_TRUE(zone38);
    GeoPosition position;
    EXPECT_FALSE(zone38->position(38512345.0, 3320000.0, position));  // N and E swapped
    EXPECT_TRUE(zone38->position(3320000.0, 38512345.0, position));
    EXPECT_FALSE(zone38->areaOfUse()->contains({position.latitude, position.longitude}));
    EXPECT_TRUE(zone38->areaOfUse()->contains(position));
}

TEST(ProjCoordinateSystems, AFolderWithoutTheDatabaseSaysSoAndOpensNothing) {
    ScratchFolder folder;
    std::unique_ptr<CoordinateSystems> empty = openProjCoordinateSystems(folder.dir.string());
    const std::string missing = empty->missingData();
    EXPECT_NE(missing.find("proj.db is missing from " + folder.dir.string()), std::string::npos) << missing;
    std::string error;
    EXPECT_EQ(empty->open("EPSG:4526", error), nullptr);
    EXPECT_EQ(systems().missingData(), "");
}

}  // namespace
