// The list's "Export for CAD/GIS...": the grid types of its Save dialog,
// the names and texts they write, the refusals that leave every file alone,
// the modified flag, and the command's silence during a transfer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fakes/FileHarness.h"
#include "files/TextEncoding.h"
#include "link/BytePort.h"

namespace {

using Names = FileHarness::Names;

// A code page whose bytes 0xA0 to 0xFF are the Latin-1 characters and
// 0x80 to 0x9F are none.
class FakeLatin1 : public TextEncoding {
public:
    const std::string& name() const override { return name_; }
    unsigned codePage() const override { return 28591; }
    bool appendUtf8(std::string_view text, std::string& out) const override {
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                out += c;
            } else if (byte < 0xA0) {
                return false;
            } else {
                out += static_cast<char>(0xC0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        return true;
    }

private:
    std::string name_ = "latin1";
};

struct CadGisHarness : FileHarness {
    CadGisHarness() { platform.pointTexts = &latin1; }
    void exportAs(const std::string& name, int type) {
        files.picks.push_back({true, path(name), type});
        app.command(kMenuListCadGis);
    }
    FakeLatin1 latin1;
};

struct Type {
    int number;  // in the Save dialog
    const char* extension;
    const char* mark;  // "CAF\xC9" as the file carries it
};
const Type kTypes[] = {{1, ".csv", "CAF\xC9"},
                       {2, ".dxf", "CAF\xC3\x89"},
                       {3, ".geojson", "CAF\xC3\x89"},
                       {4, ".xml", "CAF\xC3\x89"}};

// The list is empty here: each type writes its file of no points, as Export
// writes an empty file.
TEST(CadGisExport, OffersTheSixTypesAndStartsWithTheNameChosenLast) {
    CadGisHarness h;
    h.files.picks.push_back({false, "", 1});
    h.app.command(kMenuListCadGis);
    using namespace std::string_literals;
    EXPECT_EQ(h.files.lastFilter, "CSV (*.csv)\0*.csv\0DXF (*.dxf)\0*.dxf\0GeoJSON (*.geojson)\0*.geojson\0"s
                                  "LandXML (*.xml)\0*.xml\0KML (WGS 84) (*.kml)\0*.kml\0"s
                                  "GeoJSON (WGS 84) (*.geojson)\0*.geojson\0\0"s);
    EXPECT_TRUE(h.names().empty());  // Cancel writes nothing

    h.exportAs("drawing", 2);
    h.exportAs("drawing", 4);
    h.exportAs("picked.txt", 1);  // a name with its own extension keeps it
    h.files.picks.push_back({false, "", 1});
    h.app.command(kMenuListCadGis);
    EXPECT_EQ(h.files.saves, (Names{"", "", h.path("drawing"), h.path("drawing"), h.path("picked.txt")}));
    EXPECT_EQ(h.names(), (Names{"drawing.dxf", "drawing.xml", "picked.txt"}));
    EXPECT_TRUE(h.boxes.shown.empty());

    h.exportAs("out", 0);  // the user's own pattern names no type
    h.exportAs("out", 7);
    h.files.failReplace = true;
    h.exportAs("drawing.dxf", 2);
    EXPECT_EQ(h.boxes.texts(), (Names{"text43", "text43", "text41"}));
    EXPECT_EQ(h.names(), (Names{"drawing.dxf", "drawing.xml", "picked.txt"}));
}

// Every row in list order, the texts as the type carries them (the points'
// code page converted for the UTF-8 types), and modified as it was.
TEST(CadGisExport, EachTypeWritesEveryRowUnderItsExtensionAndLeavesModified) {
    for (const Type& type : kTypes) {
        for (bool exported : {false, true}) {
            SCOPED_TRACE(type.extension);
            CadGisHarness h;
            h.app.appendRow(h.point("FIRST", 10.5, 20.25, 3, "CAF\xC9"));
            h.app.appendRow(h.point("SECOND", -0.00001, 0, 0, "M"));
            Names expected;
            if (exported) {
                h.FileHarness::exportAs("list.pts", 2);
                ASSERT_FALSE(h.app.modified());
                expected.push_back("list.pts");
            }
            h.exportAs("points", type.number);
            EXPECT_TRUE(h.boxes.shown.empty());
            expected.push_back(std::string("points") + type.extension);
            ASSERT_EQ(h.names(), expected);
            const std::string bytes = h.read(expected.back());
            const auto first = bytes.find("FIRST"), second = bytes.find("SECOND");
            EXPECT_NE(first, std::string::npos);
            EXPECT_LT(first, second);
            EXPECT_NE(bytes.find(type.mark), std::string::npos);
            EXPECT_EQ(bytes.find("-0.0"), std::string::npos);
            EXPECT_EQ(h.app.modified(), !exported);
        }
    }
}

// The first point a type cannot carry is named in a box before any file is
// made, and the old file keeps its bytes.
TEST(CadGisExport, RefusesThePointATypeCannotCarryAndTouchesNoFile) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        int type;
        PointRecord point;
        const char* box;
    } cases[] = {
        {1, AppHarness::point("P", std::nan(""), 0, 0), "text44"},
        {2, AppHarness::point("P", 0, infinity, 0), "text44"},
        {3, AppHarness::point("P\x85", 0, 0, 0), "text56"},   // no character of the code page
        {2, AppHarness::point("P", 0, 0, 0, "\x9F"), "text56"},
        {4, AppHarness::point("P", 0, 0, 0, "A\x01"), "text57"},  // XML has no way to write it
        {4, AppHarness::point("P", 0, 0, -infinity, "\x01"), "text44"},
    };
    for (const Case& c : cases) {
        CadGisHarness h;
        h.app.appendRow(h.point("GOOD", 1, 2, 3));
        h.app.appendRow(c.point);
        const std::string target = std::string("old") + kTypes[c.type - 1].extension;
        h.write(target, "old bytes");
        h.exportAs(target, c.type);
        EXPECT_EQ(h.boxes.texts(), (Names{c.box})) << c.box;
        EXPECT_EQ(h.boxes.shown[0].icon, BoxIcon::Error);
        EXPECT_TRUE(h.files.created.empty());
        EXPECT_EQ(h.read(target), "old bytes");
        EXPECT_TRUE(h.app.modified());
    }

    // Control characters are text in the other types.
    CadGisHarness h;
    h.app.appendRow(h.point("P", 0, 0, 0, "A\x01"));
    h.exportAs("tabs", 1);
    EXPECT_TRUE(h.boxes.shown.empty());
}

class IdlePort : public BytePort {
public:
    bool queued(std::size_t& count) override { return count = 0, true; }
    bool read(std::uint8_t*, std::size_t, std::size_t& got) override { return got = 0, true; }
    bool write(const std::uint8_t*, std::size_t) override { return true; }
    void close() override {}
};

// As Import and Export, the entry does nothing while a transfer runs, and
// the list's menu shows it greyed.
TEST(CadGisExport, IsUnavailableDuringATransfer) {
    for (int transfer : {kIdRecv, kIdSend}) {
        CadGisHarness h;
        h.app.appendRow(h.point("P", 1, 2, 3));
        EXPECT_TRUE(h.app.commandAllowed(kMenuListCadGis));
        h.link.nextPort = std::make_unique<IdlePort>();
        h.app.command(transfer);
        ASSERT_TRUE(h.app.transferRunning());
        EXPECT_FALSE(h.app.commandAllowed(kMenuListCadGis));
        h.exportAs("during", 2);
        EXPECT_TRUE(h.files.saves.empty());
        EXPECT_TRUE(h.names().empty());

        h.app.command(transfer);  // Cancel
        ASSERT_FALSE(h.app.transferRunning());
        EXPECT_TRUE(h.app.commandAllowed(kMenuListCadGis));
    }
}

}  // namespace
