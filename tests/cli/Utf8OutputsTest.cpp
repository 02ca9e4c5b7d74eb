// The outputs that are UTF-8: LandXML's file around the points (the date
// and time of writing taken out), a CgPoint's attributes whatever bytes the
// texts hold, what XML refuses; the texts named UTF-8, and the marks that
// the writers keep. (test_output_readers.py parses whole files of each
// output with a reader of its own.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "fakes/Points.h"
#include "files/PointFormats.h"
#include "files/RecentMarks.h"
#include "files/TextEncoding.h"
#include "files/TextSink.h"
#include "files/Utf8.h"

namespace {

// Bytes 0x80 to 0xFE as U+0080 to U+00FE, 0xFF as U+FFFF (a noncharacter),
// and a lone 0x81 is no character: an encoding with each outcome.
class FakeEncoding : public TextEncoding {
public:
    const std::string& name() const override { return name_; }
    unsigned codePage() const override { return 0; }
    bool appendUtf8(std::string_view text, std::string& out) const override {
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == 0x81) return false;
            if (byte < 0x80) {
                out += c;
            } else if (byte == 0xFF) {
                out += "\xEF\xBF\xBF";
            } else {
                out += static_cast<char>(0xC0 | byte >> 6);
                out += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        return true;
    }

private:
    std::string name_ = "fake";
};

// True when text has the shape, a digit for each 9 and the other characters as they are.
bool hasShape(const std::string& text, const char* shape) {
    if (text.size() != std::strlen(shape)) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (shape[i] == '9' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != shape[i]) return false;
    return true;
}

// The file with the values of date and time replaced by D and T, once
// they have been checked as xs:date and xs:time.
std::string withoutTheTime(std::string bytes) {
    const std::size_t date = bytes.find(" date=\"");
    const std::size_t time = date + 18;
    EXPECT_NE(date, std::string::npos) << bytes;
    if (date == std::string::npos) return bytes;
    EXPECT_TRUE(hasShape(bytes.substr(date, 34), " date=\"9999-99-99\" time=\"99:99:99\"")) << bytes;
    bytes.replace(time + 7, 8, "T");
    bytes.replace(date + 7, 10, "D");
    return bytes;
}

// The points as a LandXML file, without the time of writing.
std::string written(const std::vector<PointRecord>& points, const TextEncoding* encoding = nullptr) {
    WriteSettings settings;
    settings.encoding = encoding;
    WrittenPoints written = writePoints("landxml", points, settings);
    EXPECT_TRUE(written.whole);
    return withoutTheTime(written.bytes);
}

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2"
    " http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\" version=\"1.2\" date=\"D\" time=\"T\">\r\n"
    "  <Units>\r\n"
    "    <Metric linearUnit=\"meter\" areaUnit=\"squareMeter\" volumeUnit=\"cubicMeter\""
    " temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" angularUnit=\"decimal degrees\""
    " directionUnit=\"decimal degrees\"/>\r\n"
    "  </Units>\r\n"
    "  <CgPoints>\r\n";
const std::string kTail = "  </CgPoints>\r\n</LandXML>\r\n";

TEST(LandXml, ACgPointALineNorthingFirstBetweenUnitsAndTheEnd) {
    EXPECT_EQ(written({}), kHead + kTail);
    EXPECT_EQ(written({makePoint("P1", "TREE", 100.5, 200.25, -3), makePoint("", "", -0.0, -0.00004, 1e7)}),
              kHead + "    <CgPoint name=\"P1\" code=\"TREE\">100.5000 200.2500 -3.0000</CgPoint>\r\n" +
                  "    <CgPoint>0.0000 0.0000 10000000.0000</CgPoint>\r\n" + kTail);
}

TEST(LandXml, AttributesHoldEveryTextAsItsCharacters) {
    const FakeEncoding fake;
    struct Case {
        const char* name;
        const TextEncoding* encoding;
        const char* attributes;
    } cases[] = {
        {"a&b<c>d", nullptr, " name=\"a&amp;b&lt;c&gt;d\" code=\"M\""},
        {"\"'\"", nullptr, " name=\"&quot;&apos;&quot;\" code=\"M\""},
        {"\t\n\r", nullptr, " name=\"&#9;&#10;&#13;\" code=\"M\""},  // not made spaces by a parser
        {"&&", nullptr, " name=\"&amp;&amp;\" code=\"M\""},
        {" x ", nullptr, " name=\" x \" code=\"M\""},
        {"\xE6\xA0\x91", nullptr, " name=\"\xE6\xA0\x91\" code=\"M\""},  // UTF-8 as it is
        {"\xE9&", &fake, " name=\"\xC3\xA9&amp;\" code=\"M\""},         // converted, then escaped
        {"", nullptr, " code=\"M\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written({makePoint(c.name, "M", 1, 2, 3)}, c.encoding),
                  kHead + "    <CgPoint" + c.attributes + ">1.0000 2.0000 3.0000</CgPoint>\r\n" + kTail)
            << c.name;
    }
}

TEST(LandXml, RefusesWhatXmlCannotCarryInAnyForm) {
    const FakeEncoding fake;
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        PointRecord point;
        const TextEncoding* encoding;
        Refusal refusal;
    } cases[] = {
        {makePoint("P\t\r\n", "&<>\"'", 1, 2, 3), nullptr, Refusal::None},
        {makePoint("P", "\xE9\xFE", 1, 2, 3), &fake, Refusal::None},
        {makePoint("P\x01", "", 1, 2, 3), nullptr, Refusal::ControlCharacter},
        {makePoint("P", "a\x1F", 1, 2, 3), nullptr, Refusal::ControlCharacter},
        {makePoint("P", "\x7F", 1, 2, 3), nullptr, Refusal::ControlCharacter},
        {makePoint("\xEF\xBF\xBF", "", 1, 2, 3), nullptr, Refusal::ControlCharacter},  // U+FFFF
        {makePoint("", "x\xEF\xBF\xBE", 1, 2, 3), nullptr, Refusal::ControlCharacter},  // U+FFFE
        {makePoint("\xFF", "", 1, 2, 3), &fake, Refusal::ControlCharacter},  // U+FFFF once converted
        {makePoint("\xEF\xBF\xBD", "", 1, 2, 3), nullptr, Refusal::None},     // U+FFFD is a character
        {makePoint("\xFF", "", 1, 2, 3), nullptr, Refusal::NotInEncoding},    // no UTF-8
        {makePoint("P", "\x81", 1, 2, 3), &fake, Refusal::NotInEncoding},
        {makePoint("P\x01", "", inf, 2, 3), nullptr, Refusal::Value},
        {makePoint("P", "", 1, 2, std::nan("")), nullptr, Refusal::Value},
    };
    // Twice: the second time the texts accepted the first are known.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Case& c : cases) {
            WriteSettings settings;
            settings.encoding = c.encoding;
            EXPECT_EQ(findPointFormat("landxml")->refuses(c.point, settings), c.refusal) << c.point.name << c.point.mark;
            // GeoJSON and DXF carry every character, and refuse only what does not convert.
            if (c.refusal != Refusal::ControlCharacter)
                EXPECT_EQ(utf8Refuses(c.point, settings), c.refusal) << c.point.name << c.point.mark;
            else
                EXPECT_EQ(utf8Refuses(c.point, settings), Refusal::None) << c.point.name << c.point.mark;
        }
    }
}

// A text found to be text of one code page is checked again in another.
TEST(Utf8Outputs, TextAcceptedInOneCodePageIsCheckedInAnother) {
    const auto gbk = openTextEncoding("gbk"), cp1252 = openTextEncoding("cp1252");
    ASSERT_TRUE(gbk && cp1252);
    WriteSettings inGbk, inCp1252;
    inGbk.encoding = gbk.get();
    inCp1252.encoding = cp1252.get();
    const PointRecord point = makePoint("P", "\x81\x40", 1, 2, 3);  // GBK; 0x81 is no cp1252 character here
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(utf8Refuses(point, inGbk), Refusal::None);
        EXPECT_EQ(utf8Refuses(point, inCp1252), Refusal::NotInEncoding);
    }
}

// Texts that are UTF-8 already are checked, not converted: with the
// platform's UTF-8 they are refused and written exactly as with none.
TEST(Utf8Outputs, TextsOfUtf8ReadAsWithoutAnEncoding) {
    const auto utf8 = openTextEncoding("utf-8");
    ASSERT_NE(utf8, nullptr);
    WriteSettings none, named;
    named.encoding = utf8.get();
    // Characters, a noncharacter and a control character among them; now and then a piece of none.
    const std::string characters[] = {"a", "\xC3\xA9", "\xE6\xA0\x91", "\xF0\x9F\x93\x8D", "\xEF\xBF\xBF", "\x01"};
    const std::string pieces[] = {"\xC3", "\xA9", "\xE6\xA0", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\xC0\xAF"};
    std::mt19937 random(11);
    auto text = [&](std::size_t length) {
        std::string made;
        while (made.size() < length)
            made += random() % 16 ? characters[random() % std::size(characters)] : pieces[random() % std::size(pieces)];
        return made;
    };
    int written = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::string name = text(random() % 8), mark = text(random() % 12);
        const PointRecord point = makePoint(name.c_str(), mark.c_str(), 1, 2, 3);
        for (auto refuses : {utf8Refuses, xmlRefuses})
            ASSERT_EQ(refuses(point, named), refuses(point, none)) << name << " " << mark;
        if (utf8Refuses(point, none) == Refusal::None) {
            std::string a, b;
            ASSERT_EQ(utf8Of(point.mark, PointRecord::kMarkMax, utf8.get(), a),
                      utf8Of(point.mark, PointRecord::kMarkMax, nullptr, b));
            ++written;
        }
    }
    EXPECT_GT(written, 500);  // the cases are not all refused
}

// A mark's text is what make gives for it, whichever marks came before;
// make runs again only for a mark that is not among the last eight.
TEST(RecentMarks, GiveWhatTheirMarkMakes) {
    const FakeEncoding fake;
    RecentMarks marks(&fake);
    int made = 0;
    auto make = [&](std::string_view utf8, StringOut& out) {
        ++made;
        out.put('<');
        out.put(utf8);
        out.put('>');
    };
    const char* const pool[] = {"", "A", "a", "AB", "\xE9", "\xE9\xE9", "B", "C", "D", "E", "F", "G", "H"};
    std::vector<std::string> recent;  // the distinct marks made, the last last
    std::mt19937 random(3);
    for (int i = 0; i < 1000; ++i) {
        const char* mark = pool[random() % (i < 500 ? 8 : std::size(pool))];  // first only eight marks
        std::string utf8;
        ASSERT_TRUE(fake.appendUtf8(mark, utf8));
        const int before = made;
        EXPECT_EQ(marks.of(mark, make), "<" + utf8 + ">") << i;
        const bool known = std::find(recent.begin(), recent.end(), mark) != recent.end();
        EXPECT_EQ(made - before, known ? 0 : 1) << i;
        if (!known) {
            recent.push_back(mark);
            if (recent.size() > 8) recent.erase(recent.begin());
        }
    }
    EXPECT_LT(made, 600);
}

}  // namespace
