#include "files/ExchangeFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "files/PointFile.h"
#include "points/PointStore.h"
#include "points/PointText.h"

#include "fakes/Points.h"
#include "fakes/ResourceTexts.h"

namespace {

const FormatInfo& format(ExchangeFormat f) { return *findFormat(static_cast<int>(f)); }

// The line as Export writes it: row number and ',' in front for the
// numbered formats, the text from where the writer put it.
std::string exportLine(ExchangeFormat f, const PointRecord& point, int row = 1) {
    char* buffer = new char[kLineBufferSize];  // exact size, so an overrun shows
    std::string text = format(f).write(point, buffer);
    delete[] buffer;
    return format(f).numbered ? std::to_string(row) + "," + text : text;
}

PointRecord readLine(ExchangeFormat f, const std::string& line) {
    PointRecord point;
    format(f).read(line.c_str(), point);
    return point;
}

double rounded4(double v) {
    char text[400];
    std::snprintf(text, sizeof text, "%.4f", v);
    return std::strtod(text, nullptr);
}

const ExchangeFormat kCommaFormats[] = {ExchangeFormat::TopCom, ExchangeFormat::SV300,
                                        ExchangeFormat::GuangZhouKass, ExchangeFormat::SouthKass};

// The table's formats, in the file dialogs' order.
std::vector<const FormatInfo*> allFormats() {
    std::vector<const FormatInfo*> formats;
    for (int number = 1; const FormatInfo* info = findFormat(number); ++number) formats.push_back(info);
    return formats;
}

TEST(ExchangeFormat, TableNumbersEachFormatByItsPlaceAndNamesItInBothLanguages) {
    const auto formats = allFormats();
    ASSERT_EQ(formats.size(), 5u);  // Ruvo, TopCom, SV300, GuangZhou Kass, South Kass
    EXPECT_EQ(findFormat(0), nullptr);
    EXPECT_EQ(findFormat(static_cast<int>(formats.size()) + 1), nullptr);
    rc::ProgramTexts english("Korvel"), chinese("Korvel", rc::Language::Chinese);
    std::set<std::string> names;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        const FormatInfo& f = *formats[i];
        EXPECT_EQ(static_cast<std::size_t>(f.format), i + 1);
        // The dialogs' pattern picks the files that Export names.
        EXPECT_EQ(std::string(f.pattern), std::string("*") + f.extension);
        EXPECT_FALSE(chinese.text(f.nameTextId).empty());
        EXPECT_TRUE(names.insert(english.text(f.nameTextId)).second) << english.text(f.nameTextId);
    }
}

// Points that every format carries whole: names and marks of up to 7
// letters and digits, and the largest magnitudes.
std::vector<PointRecord> pointsEveryFormatCarries(unsigned seed, int count) {
    std::vector<PointRecord> points = randomPoints(seed, count, 7, 7);
    points.push_back(makePoint("", "", 9999999.999, -9999999.999, 0.001));
    return points;
}

class CollectingSink : public PointSink {
public:
    std::size_t take(const PointRecord* points, std::size_t count) override {
        taken.insert(taken.end(), points, points + count);
        return count;
    }
    std::vector<PointRecord> taken;
};

// The property every format holds: a file its writer wrote reads back
// through its reader to the same points, line by line, each line ended by
// CR LF and numbered from 1 where the format numbers its lines.
TEST(ExchangeFormat, EveryFormatsFileReadsBackToThePointsItWasWrittenFrom) {
    for (const FormatInfo* format : allFormats()) {
        SCOPED_TRACE(std::string("format ") + format->extension + " " + std::to_string(int(format->format)));
        const std::vector<PointRecord> points = pointsEveryFormatCarries(static_cast<unsigned>(format->format), 300);
        PointStore store;
        store.append(points.data(), points.size());
        ASSERT_EQ(firstPointNotHeld(*format, store), -1);

        std::FILE* file = std::tmpfile();
        ASSERT_TRUE(writePointFile(file, *format, store));
        std::rewind(file);
        CollectingSink sink;
        EXPECT_EQ(readPointFile(file, *format, sink), ReadEnd::Complete);
        ASSERT_EQ(sink.taken.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_STREQ(sink.taken[i].name, points[i].name) << i;
            EXPECT_STREQ(sink.taken[i].mark, points[i].mark) << i;
            EXPECT_EQ(sink.taken[i].n, points[i].n) << i;
            EXPECT_EQ(sink.taken[i].e, points[i].e) << i;
            EXPECT_EQ(sink.taken[i].z, points[i].z) << i;
        }

        std::rewind(file);
        std::string bytes;
        for (int c; (c = std::fgetc(file)) != EOF;) bytes += static_cast<char>(c);
        std::fclose(file);
        std::size_t row = 0, at = 0;
        for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2) {
            const std::string line = bytes.substr(at, end - at);
            ++row;
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << row;
            if (format->numbered) {
                EXPECT_EQ(line.rfind(std::to_string(row) + ",", 0), 0u) << line;
            }
        }
        EXPECT_EQ(at, bytes.size());
        EXPECT_EQ(row, points.size());
    }
}

TEST(ExchangeFormat, WritersLayOutTheExamplePoint) {
    PointRecord point = makePoint("P1", "TREE", 100.5, 200.25, 3);
    EXPECT_EQ(exportLine(ExchangeFormat::Ruvo, point), "P1     TREE   00000100.50000000200.25000000003.000");
    EXPECT_EQ(exportLine(ExchangeFormat::TopCom, point), "P1,200.2500,100.5000,3.0000,TREE");
    EXPECT_EQ(exportLine(ExchangeFormat::SV300, point), "1,P1,TREE,100.5000,200.2500,3.0000");
    EXPECT_EQ(exportLine(ExchangeFormat::GuangZhouKass, point), "1,P1,100.5000,200.2500,3.0000,TREE");
    EXPECT_EQ(exportLine(ExchangeFormat::SouthKass, point), "P1,TREE,200.2500,100.5000,3.0000");

    PointRecord empty = makePoint("P1", "", -0.5, -0.0, -0.00001);
    EXPECT_EQ(exportLine(ExchangeFormat::TopCom, empty), "P1,-0.0000,-0.5000,-0.0000,");
    EXPECT_EQ(exportLine(ExchangeFormat::SouthKass, empty), "P1,,-0.0000,-0.5000,-0.0000");
}

TEST(ExchangeFormat, WritersMatchPrintfAndFitTheBuffer) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> exponent(-8, 300);
    for (int i = 0; i < 5000; ++i) {
        double sign = (random() & 1) ? -1.0 : 1.0;
        PointRecord point = makePoint("\xB5\xE3 1,x", "MARK 56789,123", sign * std::pow(10.0, exponent(random)),
                                      static_cast<double>(random() % 100000) / 32.0, -DBL_MAX);
        char expected[kLineBufferSize];
        std::snprintf(expected, sizeof expected, "%s,%.4lf,%.4lf,%.4lf,%s", point.name, point.e, point.n, point.z,
                      point.mark);
        std::string line = exportLine(ExchangeFormat::TopCom, point);
        ASSERT_EQ(line, expected);
        ASSERT_LT(line.size(), kLineBufferSize);
    }
}

TEST(ExchangeFormat, EachReaderReadsBackWhatItsWriterWrote) {
    const PointRecord points[] = {
        makePoint("P1", "TREE", 100.5, 200.25, 3),
        makePoint("NAME56789", "MARK567890123", -1234567.89012, 0.00005, 1e7),
        makePoint("", "", -0.0, 1e-9, -99999999.99995),
        makePoint("\xB5\xE3\xC3\xFB", "\xCA\xF7", 2.5e-4, 123456789.0, -0.00015),
    };
    for (ExchangeFormat f : kCommaFormats) {
        for (const PointRecord& point : points) {
            std::string line = exportLine(f, point, 12345) + "\n";
            PointRecord back = readLine(f, line);
            EXPECT_STREQ(back.name, point.name) << line;
            EXPECT_STREQ(back.mark, point.mark) << line;
            EXPECT_EQ(back.n, rounded4(point.n)) << line;
            EXPECT_EQ(back.e, rounded4(point.e)) << line;
            EXPECT_EQ(back.z, rounded4(point.z)) << line;
            EXPECT_TRUE(format(f).canHold(point));
        }
    }
}

TEST(ExchangeFormat, RuvoReadsBackShortNamesAndRoundedValues) {
    PointRecord point = makePoint("ABCDEFG", "\xB5\xE3", -9999999.999, 0.0625, -0.0004);
    PointRecord back = readLine(ExchangeFormat::Ruvo, exportLine(ExchangeFormat::Ruvo, point) + "\r\n");
    EXPECT_STREQ(back.name, "ABCDEFG");
    EXPECT_STREQ(back.mark, "\xB5\xE3");
    EXPECT_EQ(back.n, -9999999.999);
    EXPECT_EQ(back.e, 0.062);  // an exact tie goes to the even digit
    EXPECT_EQ(back.z, 0.0);
}

TEST(ExchangeFormat, CanHoldRefusesWhatTheFormatWouldChange) {
    PointRecord large = makePoint("P1", "", 1e8, 0, 0);
    EXPECT_FALSE(format(ExchangeFormat::Ruvo).canHold(large));
    PointRecord infinite = makePoint("P1", "", 0, HUGE_VAL, 0);
    PointRecord notANumber = makePoint("P1", "", 0, 0, std::nan(""));
    for (ExchangeFormat f : kCommaFormats) {
        EXPECT_TRUE(format(f).canHold(large));
        EXPECT_FALSE(format(f).canHold(infinite));
        EXPECT_FALSE(format(f).canHold(notANumber));
    }
}

struct ReadCase {
    ExchangeFormat format;
    const char* line;
    const char* name;
    const char* mark;
    double n, e, z;
};

const ExchangeFormat TC = ExchangeFormat::TopCom;
const ExchangeFormat SV = ExchangeFormat::SV300;
const ExchangeFormat GZ = ExchangeFormat::GuangZhouKass;
const ExchangeFormat SK = ExchangeFormat::SouthKass;

const ReadCase kReadCases[] = {
    // White space inside names and marks.
    {TC, "P 1,200.25,100.5,3,TREE\n", "P 1", "TREE", 100.5, 200.25, 3},
    {SV, "1,P 1,TREE,100.5,200.25,3\n", "P 1", "TREE", 100.5, 200.25, 3},
    {GZ, "1,P 1,100.5,200.25,3,TREE\n", "P", "", 0, 0, 0},
    {SK, "P 1,TREE,200.25,100.5,3\n", "P", "", 0, 0, 0},
    {TC, "P1,200.25,100.5,3,TR EE\n", "P1", "TR", 100.5, 200.25, 3},
    {SV, "1,P1,TR EE,100.5,200.25,3\n", "P1", "TR EE", 100.5, 200.25, 3},
    {GZ, "1,P1,100.5,200.25,3,TR EE\n", "P1", "TR", 100.5, 200.25, 3},
    {SK, "P1,TR EE,200.25,100.5,3\n", "P1", "TR", 0, 0, 0},
    {TC, "  P1 ,200.25,100.5,3,TREE", "  P1 ", "TREE", 100.5, 200.25, 3},
    {GZ, "1, \tP1 , 100.5,200.25,3,TREE", "P1", "TREE", 100.5, 200.25, 3},
    {SK, " \tP1 , TREE ,200.25,100.5,3", "P1", "TREE", 100.5, 200.25, 3},
    // A ',' inside a name splits it.
    {TC, "P,1,200.25,100.5,3,TREE", "P", "3,TREE", 200.25, 1, 100.5},
    {SK, "P,1,TREE,200.25,100.5,3", "P", "1", 0, 0, 0},
    // Empty fields.
    {TC, "P1,200.2500,100.5000,3.0000,\n", "P1", "", 100.5, 200.25, 3},
    {SK, "P1,,200.2500,100.5000,3.0000\n", "P1", "", 100.5, 200.25, 3},
    {TC, ",200.25,100.5,3,TREE", "", "TREE", 100.5, 200.25, 3},
    {SV, ",,TREE,100.5,200.25,3", "", "TREE", 100.5, 200.25, 3},
    {GZ, ",,100.5,200.25,3,TREE", "", "TREE", 100.5, 200.25, 3},
    {SK, ",TREE,200.25,100.5,3", "", "TREE", 100.5, 200.25, 3},
    // White space after a ',' is skipped, before it ends the conversion.
    {TC, "P1, 200.25, 100.5, 3, TREE\n", "P1", "TREE", 100.5, 200.25, 3},
    {TC, "P1,200.25 ,100.5,3,TREE\n", "P1", "", 0, 200.25, 0},
    {SV, "1,P1,M,100.5,200.25 ,3", "P1", "M", 100.5, 200.25, 0},
    // Exponents, '+', negative zero; a number that stops short.
    {TC, "P1,2.5e2,+100.5,-0,TREE", "P1", "TREE", 100.5, 250, -0.0},
    {SK, "P1,M,+2.5E+2,1e-2,0x10", "P1", "M", 0.01, 250, 0},
    // Infinity, NaN and hexadecimal are no numbers: "0x10" reads 0, then stops.
    {TC, "P1,0x10,inf,nan,M", "P1", "", 0, 0, 0},
    {TC, "P1,1,inf,3,M", "P1", "", 0, 1, 0},
    {SV, "1,P1,M,2,nan,3", "P1", "M", 2, 0, 0},
    {GZ, "1,P1,-infinity,2,3,M", "P1", "", 0, 0, 0},
    {GZ, "1,P1,1e,2,3,M", "P1", "", 1, 0, 0},
    {SV, "1,P1,M,12,34x,56", "P1", "M", 12, 34, 0},
    // A GuangZhou Kass line read as South Kass.
    {SK, "7,P1,100.5,200.25,3,TREE\n", "7", "P1", 200.25, 100.5, 3},
    // Line ends: CR LF, LF and none read alike; CR and LF never enter a field.
    {TC, "P1,200.25,100.5,3,TREE\r\n", "P1", "TREE", 100.5, 200.25, 3},
    {SV, "1,P1,TREE,100.5,200.25,3\r\n", "P1", "TREE", 100.5, 200.25, 3},
    {SK, "P1,TREE,200.25,100.5,3\r", "P1", "TREE", 100.5, 200.25, 3},
    // Lines that end early: fields run to the end of the line, then stop.
    {TC, "P1\r\n", "P1", "", 0, 0, 0},
    {TC, "\n", "", "", 0, 0, 0},
    {SV, "12\n", "", "", 0, 0, 0},
    {SV, "1,P1\r\n", "P1", "", 0, 0, 0},
    {SV, "1,P1,TR EE\n", "P1", "TR EE", 0, 0, 0},
    {GZ, "1\n", "", "", 0, 0, 0},
    {GZ, "1,P1\r\n", "P1", "", 0, 0, 0},
    {GZ, "1,P1,100.5\n", "P1", "", 100.5, 0, 0},
    {SK, "P1\n", "P1", "", 0, 0, 0},
    {SK, "P1,TREE\n", "P1", "TREE", 0, 0, 0},
    {SK, "", "", "", 0, 0, 0},
    // Names and marks are cut to 9 and 13 characters; bytes 0x80..0xFF are
    // never white space.
    {TC, "ABCDEFGHIJKL,1,2,3,MARK567890123456", "ABCDEFGHI", "MARK567890123", 2, 1, 3},
    {SV, "1,ABCDEFGHIJKL,MARK567890123456,1,2,3", "ABCDEFGHI", "MARK567890123", 1, 2, 3},
    {SK, "\xB5\xE3\xA0\xC3\xFB,\x85M,1,2,3", "\xB5\xE3\xA0\xC3\xFB", "\x85M", 2, 1, 3},
    {GZ, "1,\xA0P1,1,2,3,\xA0M\xA0", "\xA0P1", "\xA0M\xA0", 1, 2, 3},
};

TEST(ExchangeFormat, ReadersFollowTheirLayouts) {
    for (const ReadCase& c : kReadCases) {
        PointRecord point = readLine(c.format, c.line);
        SCOPED_TRACE(std::string("format ") + std::to_string(static_cast<int>(c.format)) + ": " + c.line);
        EXPECT_STREQ(point.name, c.name);
        EXPECT_STREQ(point.mark, c.mark);
        EXPECT_EQ(point.n, c.n);
        EXPECT_EQ(point.e, c.e);
        EXPECT_EQ(point.z, c.z);
        EXPECT_EQ(std::signbit(point.z), std::signbit(c.z));
    }
}

TEST(ExchangeFormat, ReadersStopAtTheLineEnd) {
    // The line ends at its NUL even when the buffer goes on.
    char buffer[] = "P1,200.25,100.5,3\0,TREE";
    const char* marks[] = {"", "100.5", "", "200.25"};  // in the order of kCommaFormats
    for (int i = 0; i < 4; ++i) {
        PointRecord point;
        format(kCommaFormats[i]).read(buffer, point);
        EXPECT_STREQ(point.mark, marks[i]);
    }
}

}  // namespace
