// The list of output formats, the line check of the readers, and the three
// written-only formats byte by byte. (The program test parses whole files
// of them with independent parsers.)
#include "files/PointFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cctype>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "fakes/Points.h"
#include "files/ExchangeLine.h"
#include "files/TextEncoding.h"
#include "files/TextSink.h"

namespace {

bool canHold(const PointFormat& format, const PointRecord& point) {
    return format.refuses(point, WriteSettings()) == Refusal::None;
}

std::string written(const char* format, const std::vector<PointRecord>& points,
                    const WriteSettings& settings = WriteSettings()) {
    WrittenPoints written = writePoints(format, points, settings);
    EXPECT_TRUE(written.whole);
    return written.bytes;
}

TEST(PointFormats, EachIsFoundByItsNameInAnyCaseAndTheFiveByNumber) {
    std::set<std::string> extensions;
    for (std::size_t i = 0; i < pointFormatCount(); ++i) {
        const PointFormat& format = pointFormatAt(i);
        EXPECT_EQ(findPointFormat(format.name), &format);
        std::string upper = format.name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(findPointFormat(upper), &format);
        EXPECT_EQ(format.readable(), format.number > 0) << format.name;
        if (format.number > 0) {
            EXPECT_EQ(findPointFormat(std::to_string(format.number)), &format);
            EXPECT_EQ(static_cast<int>(format.exchange->format), format.number);
            EXPECT_STREQ(format.extension, format.exchange->extension);  // as Export names files
        } else {
            EXPECT_TRUE(extensions.insert(format.extension).second) << format.extension;
        }
    }
    for (const char* text : {"", "0", "6", "10", "csv ", "topcom2", "-", "json"})
        EXPECT_EQ(findPointFormat(text), nullptr) << text;
}

TEST(PointFormats, ALineIsCompleteWhenItsReaderCameToEveryCoordinate) {
    struct Case {
        int format;
        const char* line;
        bool complete;
        double n, e, z;
    } cases[] = {
        {2, "P1,200.25,100.5,3,TREE\n", true, 100.5, 200.25, 3},
        {2, "P1,200.25,100.5,3\r\n", true, 100.5, 200.25, 3},  // no mark field
        {2, "P1,200.25 ,100.5,3,TREE\n", false, 0, 200.25, 0},  // stops at the space
        {2, "\n", false, 0, 0, 0},
        {2, "P1,x,1,2\n", false, 0, 0, 0},
        {3, "1,P1,TREE,100.5,200.25,3\n", true, 100.5, 200.25, 3},
        {3, "1,P1,TREE,100.5,200.25\n", false, 100.5, 200.25, 0},
        {4, "1,P1,100.5,200.25,3,TREE\n", true, 100.5, 200.25, 3},
        {4, "1,P 1,100.5,200.25,3,TREE\n", false, 0, 0, 0},  // the name ends at the space
        {5, "P1,TREE,200.25,100.5,3\n", true, 100.5, 200.25, 3},
        {5, "P1,TR EE,200.25,100.5,3\n", false, 0, 0, 0},
        {5, "", false, 0, 0, 0},
        {1, "P1     M      00001234.568-0000012.30000000000.000\r\n", true, 1234.568, -12.3, 0},
        {1, "P1     M      00001234.568-0000012.300", false, 1234.568, -12.3, 0},  // no Z field
        {1, "P1     M      00001234.568-0000012.300      ", false, 1234.568, -12.3, 0},  // Z of spaces
        {2, "P1,1e400,0,0\n", true, 0, std::numeric_limits<double>::infinity(), 0},
    };
    for (const Case& c : cases) {
        PointRecord point;
        point.setName("OLD");  // a line starts from a fresh record whatever was there
        point.n = 7;
        EXPECT_EQ(readPointLine(*findFormat(c.format), c.line, point), c.complete) << c.line;
        EXPECT_EQ(point.n, c.n) << c.line;
        EXPECT_EQ(point.e, c.e) << c.line;
        EXPECT_EQ(point.z, c.z) << c.line;
        EXPECT_STRNE(point.name, "OLD");
    }
}

TEST(PointFormats, EveryExchangeWriterGivesLinesThatReadComplete) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-9999999.0, 9999999.0);
    for (int number = 1; number <= 5; ++number) {
        const FormatInfo& format = *findFormat(number);
        for (int i = 0; i < 200; ++i) {
            PointRecord point = makePoint(i % 3 ? "P1" : "", i % 2 ? "TREE" : "", value(random), value(random),
                                          i % 5 ? value(random) : -0.0);
            char buffer[kLineBufferSize];
            std::string line = std::to_string(i + 1) + ",";
            if (!format.numbered) line.clear();
            line += format.write(point, buffer);
            line += "\r\n";
            PointRecord back;
            EXPECT_TRUE(readPointLine(format, line.c_str(), back)) << line;
        }
    }
}

TEST(Csv, QuotesOnlyTheFieldsThatNeedIt) {
    struct Case {
        const char* name;
        const char* mark;
        const char* record;
    } cases[] = {
        {"P1", "TREE", "P1,TREE,100.5000,200.2500,3.0000\r\n"},
        {"", "", ",,100.5000,200.2500,3.0000\r\n"},
        {"A,B", "x\"y", "\"A,B\",\"x\"\"y\",100.5000,200.2500,3.0000\r\n"},
        {"\"", " sp ", "\"\"\"\", sp ,100.5000,200.2500,3.0000\r\n"},
        {"a\rb", "c\nd", "\"a\rb\",\"c\nd\",100.5000,200.2500,3.0000\r\n"},
        {"\xB5\xE7", "\xCF\xDF", "\xB5\xE7,\xCF\xDF,100.5000,200.2500,3.0000\r\n"},  // bytes as they are
    };
    for (const Case& c : cases) {
        std::string bytes = written("csv", {makePoint(c.name, c.mark, 100.5, 200.25, 3)});
        EXPECT_EQ(bytes, std::string("name,mark,N,E,Z\r\n") + c.record) << c.name;
    }
    EXPECT_EQ(written("csv", {}), "name,mark,N,E,Z\r\n");
    EXPECT_EQ(written("csv", {makePoint("N", "", -0.0, -0.00005, 1e7)}),
              "name,mark,N,E,Z\r\nN,,0.0000,-0.0001,10000000.0000\r\n");  // never -0.0000
}

TEST(GeoJson, StringsAreValidJsonOrThePointIsRefused) {
    // Texts taken for UTF-8 (no encoding) and converted from GBK. nullptr:
    // the point is refused, as the text is no text of that encoding.
    const std::unique_ptr<TextEncoding> gbk = openTextEncoding("gbk");
    ASSERT_TRUE(gbk);
    struct Case {
        const char* name;
        const char* asUtf8;
        const char* asGbk;
    } cases[] = {
        {"P1", "\"P1\"", "\"P1\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
        {"\t\x01\x1f", "\"\\u0009\\u0001\\u001f\"", "\"\\u0009\\u0001\\u001f\""},
        {"\xC3\xA9", "\"\xC3\xA9\"", "\"\xE8\x8C\x85\""},               // é in UTF-8; 茅 in GBK
        {"\xF0\x9F\x93\x8D", "\"\xF0\x9F\x93\x8D\"", "\"\xE9\xA6\x83\xE6\x90\xB7\""},  // 📍; 馃搷
        {"\xB5\xE3", nullptr, "\"\xE7\x82\xB9\""},                      // 点 in GBK
        {"\xC3", nullptr, nullptr},                                     // cut sequence
        {"\xC0\xAF", nullptr, "\"\xE8\x9C\xA1\""},                      // overlong UTF-8; 蜡 in GBK
        {"\xED\xA0\x80", nullptr, "\"\xE9\xA0\x8E\xE2\x82\xAC\""},  // surrogate; 頎€ in GBK
        {"\xFF", nullptr, nullptr},                                     // in neither
        {"\x7F", "\"\x7F\"", "\"\x7F\""},
    };
    const PointFormat& format = *findPointFormat("geojson");
    for (const Case& c : cases) {
        const PointRecord point = makePoint(c.name, "", 1, 2, 3);
        const TextEncoding* encodings[] = {nullptr, gbk.get()};
        const char* expectations[] = {c.asUtf8, c.asGbk};
        for (int i = 0; i < 2; ++i) {
            const WriteSettings settings{encodings[i], nullptr};
            if (!expectations[i]) {
                EXPECT_EQ(format.refuses(point, settings), Refusal::NotInEncoding) << c.name << i;
                continue;
            }
            ASSERT_EQ(format.refuses(point, settings), Refusal::None) << c.name << i;
            std::string expected = std::string("{\"type\":\"FeatureCollection\",\"features\":[\r\n") +
                                   "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":" +
                                   "[2.0000,1.0000,3.0000]},\"properties\":{\"name\":" + expectations[i] +
                                   ",\"mark\":\"\"}}\r\n]}\r\n";
            EXPECT_EQ(written("geojson", {point}, settings), expected) << c.name << i;
        }
    }
    EXPECT_EQ(written("geojson", {}), "{\"type\":\"FeatureCollection\",\"features\":[\r\n]}\r\n");
    std::string two = written("geojson", {makePoint("A", "", 1, 2, 3), makePoint("B", "", 1, 2, 3)});
    EXPECT_NE(two.find("}},\r\n{\"type\":\"Feature\""), std::string::npos);  // features apart by commas
    EXPECT_NE(written("geojson", {makePoint("Z", "", -0.00001, 0.0, -0.0)}).find("[0.0000,0.0000,0.0000]"),
              std::string::npos);  // never -0.0000
}

TEST(PointFormats, TheWrittenOnlyFormatsRefuseWhatIsNoNumber) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const char* name : {"csv", "geojson", "dxf", "topcom"}) {
        const PointFormat& format = *findPointFormat(name);
        EXPECT_TRUE(canHold(format, makePoint("P", "", 1e300, -1e300, 0))) << name;
        EXPECT_FALSE(canHold(format, makePoint("P", "", inf, 0, 0))) << name;
        EXPECT_FALSE(canHold(format, makePoint("P", "", 0, 0, std::nan("")))) << name;
    }
    EXPECT_FALSE(canHold(*findPointFormat("ruvo"), makePoint("P", "", 10000000, 0, 0)));
    EXPECT_TRUE(canHold(*findPointFormat("ruvo"), makePoint("P", "", 9999999.999, 0, 0)));
}

}  // namespace
