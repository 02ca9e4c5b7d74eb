// The outputs in WGS 84: KML grouped by mark through the spool, GeoJSON
// with and without a coordinate system, and the degrees they write. A plain
// coordinate system stands in for PROJ here (longitude E / 1000, latitude
// N / 1000), so that every position is known exactly; test_crs.py checks
// the real ones against pyproj and reads the files back with GDAL.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "fakes/Points.h"
#include "files/CoordinateSystem.h"
#include "files/DegreeText.h"
#include "files/GroupedSpool.h"
#include "files/PointFormats.h"
#include "files/TextEncoding.h"
#include "files/TextSink.h"
#include "files/posix/PosixFileSystem.h"

namespace {

// Grid coordinates in thousands of degrees; none beyond 1,000,000.
class PlainSystem : public CoordinateSystem {
public:
    const std::string& name() const override { return name_; }
    const std::string& code() const override { return name_; }
    const GeoArea* areaOfUse() const override { return nullptr; }
    bool position(double north, double east, GeoPosition& out) override {
        out = {east / 1000.0, north / 1000.0};
        return std::fabs(north) < 1e6 && std::fabs(east) < 1e6;
    }

private:
    std::string name_ = "plain";
};

// Writes the points, each of which the format must not refuse.
std::string written(const char* format, const std::vector<PointRecord>& points, const WriteSettings& settings,
                    bool* failed = nullptr) {
    for (const PointRecord& point : points)
        EXPECT_EQ(findPointFormat(format)->refuses(point, settings), Refusal::None) << point.name;
    const WrittenPoints out = writePoints(format, points, settings);
    if (failed)
        *failed = !out.whole;
    else
        EXPECT_TRUE(out.whole);
    return out.bytes;
}

// The texts between <tag> and </tag>, in order.
std::vector<std::string> elements(const std::string& xml, const std::string& tag) {
    std::vector<std::string> found;
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    for (std::size_t at = 0; (at = xml.find(open, at)) != std::string::npos;) {
        const std::size_t end = xml.find(close, at);
        found.push_back(xml.substr(at + open.size(), end - at - open.size()));
        at = end;
    }
    return found;
}

TEST(DegreeText, NineDecimalsCorrectlyRoundedAndNeverMinusZero) {
    const struct {
        double degrees;
        const char* text;
    } cases[] = {
        {0.0, "0.000000000"},          {-0.0, "0.000000000"},          {-4e-10, "0.000000000"},
        {-6e-10, "-0.000000001"},      {114.127950084, "114.127950084"}, {-179.9999999996, "-180.000000000"},
        {180.0, "180.000000000"},      {0.1, "0.100000000"},           {29.99891597251, "29.998915973"},
        {-90.0, "-90.000000000"},
    };
    for (const auto& c : cases) {
        char text[kDegreeTextMax];
        EXPECT_EQ(degreeText(c.degrees, text), c.text) << c.degrees;
    }
}

TEST(GroupedSpool, GivesEachGroupBackInOrderWhateverSpilledToTheScratchFile) {
    PosixFileSystem system;
    for (std::size_t limit : {std::size_t{1}, std::size_t{40}, std::size_t{1000}, std::size_t{1} << 20}) {
        for (bool scratch : {true, false}) {
            std::mt19937 random(static_cast<unsigned>(limit));
            GroupedSpool spool(scratch ? &system : nullptr, limit);
            std::vector<std::string> expected;
            for (int i = 0; i < 3000; ++i) {
                const std::size_t group = random() % (expected.size() + 1) % 17;
                if (group == expected.size()) expected.emplace_back();
                const std::string record(1 + random() % 30, static_cast<char>('a' + random() % 26));
                expected[group] += record;
                spool.append(group, record);
            }
            ASSERT_EQ(spool.groups(), expected.size());
            for (std::size_t group = 0; group < expected.size(); ++group) {
                std::string back;
                EXPECT_TRUE(spool.replay(group, [&](std::string_view records) {
                    back.append(records);
                    return true;
                }));
                EXPECT_EQ(back, expected[group]) << limit << " " << scratch << " " << group;
            }
            EXPECT_FALSE(spool.failed());
        }
    }
}

// A file system whose scratch file takes no byte.
class FullScratch : public PosixFileSystem {
public:
    std::FILE* createScratchFile() override { return std::fopen("/dev/full", "w+b"); }
};

TEST(GroupedSpool, AScratchFileThatCannotBeWrittenFailsTheReplay) {
    FullScratch full;
    GroupedSpool spool(&full, 8);
    for (int i = 0; i < 100; ++i) spool.append(static_cast<std::size_t>(i % 3), "0123456789");
    EXPECT_FALSE(spool.replay(0, [](std::string_view) { return true; }));
    EXPECT_TRUE(spool.failed());
}

TEST(Kml, APlacemarkPerPointInAFolderPerMarkInTheOrderTheyCame) {
    PlainSystem plain;
    PosixFileSystem system;
    std::vector<PointRecord> points = randomPoints(7, 400, PointRecord::kNameMax, 2);
    for (PointRecord& point : points) {
        point.n = std::fmod(point.n, 90000.0);
        point.e = std::fmod(point.e, 180000.0);
    }
    // What each folder must hold: the points of its mark, in order.
    std::vector<std::string> marks;
    std::map<std::string, std::vector<const PointRecord*>> byMark;
    for (const PointRecord& point : points) {
        if (byMark[point.mark].empty()) marks.push_back(point.mark);
        byMark[point.mark].push_back(&point);
    }
    for (FileSystem* files : {static_cast<FileSystem*>(&system), static_cast<FileSystem*>(nullptr)}) {
        WriteSettings settings;
        settings.crs = &plain;
        settings.files = files;
        const std::string kml = written("kml", points, settings);
        ASSERT_EQ(kml.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">"
                           "\r\n<Document>\r\n"),
                  0u);
        EXPECT_EQ(kml.substr(kml.size() - 21), "</Document>\r\n</kml>\r\n");
        const std::vector<std::string> folders = elements(kml, "Folder");
        ASSERT_EQ(folders.size(), marks.size());
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const std::string& folder = folders[i];
            const std::vector<std::string> placemarks = elements(folder, "Placemark");
            const std::vector<const PointRecord*>& expected = byMark[marks[i]];
            ASSERT_EQ(placemarks.size(), expected.size()) << marks[i];
            EXPECT_EQ(marks[i].empty(), folder.find("<name>") != 0) << "a folder's name is its mark: " << folder;
            for (std::size_t j = 0; j < placemarks.size(); ++j) {
                const PointRecord& point = *expected[j];
                const std::string& placemark = placemarks[j];
                const std::vector<std::string> names = elements(placemark, "name");
                EXPECT_EQ(names.empty() ? "" : names[0], point.name);
                const std::vector<std::string> values = elements(placemark, "value");
                EXPECT_EQ(values.empty() ? "" : values[0], point.mark);
                double longitude, latitude, z;
                ASSERT_EQ(std::sscanf(elements(placemark, "coordinates")[0].c_str(), "%lf,%lf,%lf", &longitude,
                                      &latitude, &z),
                          3);
                EXPECT_NEAR(longitude, point.e / 1000.0, 5e-10);
                EXPECT_NEAR(latitude, point.n / 1000.0, 5e-10);
                EXPECT_NEAR(z, point.z, 5e-5);
            }
        }
    }
}

TEST(Kml, TextsAreConvertedAndEscapedAndAnEmptyFileIsAnEmptyDocument) {
    PlainSystem plain;
    const std::unique_ptr<TextEncoding> gbk = openTextEncoding("gbk");
    ASSERT_TRUE(gbk);
    WriteSettings settings;
    settings.crs = &plain;
    settings.encoding = gbk.get();
    const std::string kml = written("kml",
                                    {makePoint("\xb5\xe7\xcf\xdf", "A&B<C>", 1, 2, -0.00001),
                                     makePoint("a\rb\tc\nd", "\xb8\xcb", 3, 4, 5), makePoint("", "", 5, 6, 7)},
                                    settings);
    EXPECT_EQ(elements(kml, "name"), (std::vector<std::string>{"A&amp;B&lt;C&gt;", "\xe7\x94\xb5\xe7\xba\xbf",
                                                                "\xe6\x9d\x86", "a&#13;b\tc\nd"}));
    EXPECT_NE(kml.find("<value>A&amp;B&lt;C&gt;</value>"), std::string::npos);
    EXPECT_NE(kml.find("<Folder>\r\n<Placemark><Point><coordinates>0.006000000,0.005000000,7.0000</coordinates>"),
              std::string::npos)
        << "no name, no mark, a folder without a name";
    EXPECT_NE(kml.find("0.002000000,0.001000000,0.0000<"), std::string::npos) << "never -0.0000";
    EXPECT_EQ(written("kml", {}, settings),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
              "<Document>\r\n</Document>\r\n</kml>\r\n");
}

TEST(Kml, AScratchFileThatFailsFailsTheOutput) {
    FullScratch full;
    PlainSystem plain;
    WriteSettings settings;
    settings.crs = &plain;
    settings.files = &full;
    // Enough points to fill the spool's memory, so that they go to the file.
    const std::vector<PointRecord> points = randomPoints(3, 200000, PointRecord::kNameMax, 1);
    std::vector<PointRecord> near;
    for (PointRecord point : points) {
        point.n = std::fmod(point.n, 1000.0);
        point.e = std::fmod(point.e, 1000.0);
        near.push_back(point);
    }
    bool failed = false;
    const std::string kml = written("kml", near, settings, &failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(kml.find("<Placemark>"), std::string::npos);
}

TEST(GeoJson, LongitudeAndLatitudeWithACoordinateSystemTheGridWithout) {
    PlainSystem plain;
    const std::vector<PointRecord> points = {makePoint("P1", "M", 30123.4567891, 114127.9500844, -0.00001)};
    WriteSettings settings;
    EXPECT_NE(written("geojson", points, settings).find("\"coordinates\":[114127.9501,30123.4568,0.0000]"),
              std::string::npos);
    settings.crs = &plain;
    EXPECT_NE(written("geojson", points, settings).find("\"coordinates\":[114.127950084,30.123456789,0.0000]"),
              std::string::npos);
}

TEST(PointFormats, TheFormatsInWgs84RefuseAPointWithNoPosition) {
    PlainSystem plain;
    WriteSettings none, withCrs;
    withCrs.crs = &plain;
    const PointRecord near = makePoint("P", "M", 1, 2, 3), far = makePoint("P", "M", 1e7, 2, 3);
    const struct {
        const char* format;
        const WriteSettings& settings;
        const PointRecord& point;
        Refusal refusal;
    } cases[] = {
        {"geojson", none, far, Refusal::None},        {"geojson", withCrs, near, Refusal::None},
        {"geojson", withCrs, far, Refusal::NoPosition}, {"kml", none, near, Refusal::NoPosition},
        {"kml", withCrs, near, Refusal::None},        {"kml", withCrs, far, Refusal::NoPosition},
        {"csv", withCrs, far, Refusal::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findPointFormat(c.format)->refuses(c.point, c.settings), c.refusal) << c.format;
    // The texts are refused first, as XML has them.
    EXPECT_EQ(findPointFormat("kml")->refuses(makePoint("P\x01", "", 1e7, 0, 0), withCrs), Refusal::ControlCharacter);
    EXPECT_EQ(findPointFormat("kml")->coordinates, Coordinates::Wgs84);
    EXPECT_EQ(findPointFormat("geojson")->coordinates, Coordinates::GridOrWgs84);
    EXPECT_EQ(findPointFormat("landxml")->coordinates, Coordinates::Grid);
}

}  // namespace
