// The DXF writer: its texts as CAD reads them, the view it opens with, its
// handles, and the points it keeps until its end in a scratch file or in
// memory, including a scratch file that fails. (test_dxf_readers.py reads
// whole drawings back with ezdxf and GDAL.)
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "ScratchFiles.h"
#include "fakes/Points.h"
#include "files/DxfSections.h"
#include "files/FileSystem.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"

namespace {

// The file, and whether its sink was whole at the end.
WrittenPoints writeDxf(const std::vector<PointRecord>& points, FileSystem* files) {
    WriteSettings settings;
    settings.files = files;
    return writePoints("dxf", points, settings);
}

std::vector<std::pair<int, std::string>> groups(const std::string& bytes) {
    std::vector<std::pair<int, std::string>> found;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t codeEnd = bytes.find('\n', at);
        const std::size_t valueEnd = bytes.find('\n', codeEnd + 1);
        if (codeEnd == std::string::npos || valueEnd == std::string::npos) break;
        found.emplace_back(std::stoi(bytes.substr(at, codeEnd - at)), bytes.substr(codeEnd + 1, valueEnd - codeEnd - 1));
        at = valueEnd + 1;
    }
    EXPECT_EQ(at, bytes.size()) << "a line without its pair";
    return found;
}

std::string put(std::string_view text, bool drawn) {
    std::FILE* file = std::tmpfile();
    TextSink sink(file);
    putDxfText(text, drawn, sink);
    EXPECT_TRUE(sink.flush());
    std::string bytes = slurp(file);
    std::fclose(file);
    return bytes;
}

TEST(Dxf, TextsAreWrittenSoThatCadShowsThemAsTheyAre) {
    struct Case {
        const char* text;
        bool drawn;
        const char* written;
    } cases[] = {
        {"P1", true, "P1"},
        {"50%", true, "50%"},
        {"5% slope", true, "5% slope"},
        {"%p%d%", true, "%p%d%"},         // lone '%': no code
        {"%%p", true, "%%%%%%p"},         // not the ± of %%p
        {"a%%%b", true, "a%%%%%%%%%b"},
        {"%%", false, "%%"},              // a description: not drawn
        {"^", true, "^ "},
        {"a^Jb", true, "a^ Jb"},
        {"a\r\nb\tc", true, "a^M^Jb^Ic"},
        {"\x01\x1f", false, "^A^_"},
        {"\xe7\x82\xb9\x7f", true, "\xe7\x82\xb9\x7f"},
    };
    for (const Case& c : cases) EXPECT_EQ(put(c.text, c.drawn), c.written) << c.text;
}

TEST(Dxf, OpensOnTheExtentOfThePoints) {
    const double inf = HUGE_VAL;
    struct Case {
        double minX, minY, maxX, maxY;
        double centreX, centreY, height;
    } cases[] = {
        {100, 200, 300, 250, 200, 225, 200 / 1.34 * 1.1},  // wide
        {0, 0, 10, 100, 5, 50, 110},                        // tall
        {5, 7, 5, 7, 5, 7, 10},                             // a single point
        {inf, inf, -inf, -inf, 0, 0, 100},                  // none
        {-1e308, 0, 1e308, 0, 0, 0, 100},                   // wider than a double
    };
    for (const Case& c : cases) {
        const DxfView view = viewOn(c.minX, c.minY, c.maxX, c.maxY);
        EXPECT_DOUBLE_EQ(view.centreX, c.centreX);
        EXPECT_DOUBLE_EQ(view.centreY, c.centreY);
        EXPECT_DOUBLE_EQ(view.height, c.height);
    }
}

// Every object's handle is its own and below $HANDSEED, every owner is an
// object of the file, and every entity is a POINT, or a TEXT after the
// POINT of the same place and layer.
TEST(Dxf, HandlesAreUniqueAndOwnersExist) {
    std::vector<PointRecord> points;
    std::mt19937 random(3);
    for (int i = 0; i < 500; ++i)
        points.push_back(makePoint(i % 4 ? ("P" + std::to_string(i)).c_str() : "",
                                   ("M" + std::to_string(random() % 40)).c_str(), -0.00001 * i, i, -i));
    const WrittenPoints written = writeDxf(points, nullptr);
    ASSERT_TRUE(written.whole);
    EXPECT_EQ(written.bytes.find('\r'), std::string::npos);  // lines end with LF alone
    const auto all = groups(written.bytes);
    std::set<unsigned long> handles;
    std::vector<std::string> owners;
    unsigned long seed = 0;
    std::vector<std::map<int, std::string>> entities;
    bool inEntities = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto& [code, value] = all[i];
        if (code == 9 && value == "$HANDSEED") seed = std::stoul(all[i + 1].second, nullptr, 16);
        if ((code == 5 || code == 105) && all[i - 1].second != "$HANDSEED") {
            EXPECT_TRUE(handles.insert(std::stoul(value, nullptr, 16)).second) << value;
        }
        if (code == 330) owners.push_back(value);
        if (code == 2 && value == "ENTITIES") inEntities = true;
        if (code == 0 && value == "ENDSEC") inEntities = false;
        if (inEntities && code == 0) entities.emplace_back();
        if (inEntities && !entities.empty()) entities.back().emplace(code, value);
        EXPECT_NE(value.rfind("-0.0000", 0), 0u);
    }
    ASSERT_FALSE(handles.empty());
    EXPECT_GT(seed, *handles.rbegin());
    for (const std::string& owner : owners)
        EXPECT_TRUE(owner == "0" || handles.count(std::stoul(owner, nullptr, 16)) > 0) << owner;
    std::size_t point = 0;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (entities[i][0] == "TEXT") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(entities[i - 1][0], "POINT");
            for (int code : {8, 10, 20, 30}) EXPECT_EQ(entities[i][code], entities[i - 1][code]);
            EXPECT_EQ(entities[i][1], points[point - 1].name);
            continue;
        }
        ASSERT_EQ(entities[i][0], "POINT");
        ASSERT_LT(point, points.size());
        EXPECT_EQ(entities[i][8], points[point].mark);
        EXPECT_EQ(entities[i][30], point == 0 ? "0.0000" : "-" + std::to_string(point) + ".0000");
        ++point;
    }
    EXPECT_EQ(point, points.size());
}

TEST(Dxf, KeepsThePointsInAScratchFileOrInMemoryAlike) {
    std::vector<PointRecord> points = randomPoints(11, 3000, PointRecord::kNameMax, PointRecord::kMarkMax);
    const WrittenPoints inMemory = writeDxf(points, nullptr);
    ASSERT_TRUE(inMemory.whole);
    int made = 0;
    ScratchFiles scratch([&made] { ++made; return std::tmpfile(); });
    const WrittenPoints inFile = writeDxf(points, &scratch);
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(inFile.whole);
    EXPECT_EQ(inFile.bytes, inMemory.bytes);
    ScratchFiles none([] { return static_cast<std::FILE*>(nullptr); });
    EXPECT_EQ(writeDxf(points, &none).bytes, inMemory.bytes);
}

// A scratch file that cannot be written (a full disk): nothing is written;
// one that cannot be read back: the drawing stops there. Either way the
// output is failed, so that no target is replaced.
TEST(Dxf, AFailingScratchFileFailsTheOutput) {
    std::vector<PointRecord> points = randomPoints(12, 3000, PointRecord::kNameMax, PointRecord::kMarkMax);
    ScratchFiles full([] { return std::fopen("/dev/full", "w+b"); });
    const std::string path = testing::TempDir() + "dxf-write-only";
    ScratchFiles writeOnly([&path] { return std::fopen(path.c_str(), "wb"); });
    for (std::size_t count : {std::size_t(1), points.size()}) {
        const std::vector<PointRecord> some(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(count));
        const WrittenPoints unwritten = writeDxf(some, &full);
        EXPECT_FALSE(unwritten.whole) << count;
        EXPECT_TRUE(unwritten.bytes.empty()) << count << " points: " << unwritten.bytes.size() << " bytes";
        const WrittenPoints unread = writeDxf(some, &writeOnly);
        EXPECT_FALSE(unread.whole) << count;
        EXPECT_EQ(unread.bytes.find("EOF"), std::string::npos) << count;
    }
    std::remove(path.c_str());
}

}  // namespace
