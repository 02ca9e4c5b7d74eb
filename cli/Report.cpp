#include "cli/Report.h"

#include "cli/CrsOption.h"
#include "files/CoordinateSystem.h"
#include "files/PointFormats.h"
#include "files/TextEncoding.h"
#include "points/NumberText.h"
#include "points/PointRecord.h"

const char kStandardStream[] = "-";

void Report::atLine(const std::string& file, long line, const std::string& text) {
    std::fprintf(err_, "%s:%ld: %s\n", file.c_str(), line, text.c_str());
}

void Report::onFile(const std::string& file, const std::string& text) {
    std::fprintf(err_, "%s: %s\n", file.c_str(), text.c_str());
}

void Report::program(const std::string& text) { std::fprintf(err_, "pointlink: %s\n", text.c_str()); }

std::string shownInputName(const std::string& input) { return input == kStandardStream ? "<stdin>" : input; }

std::string shownOutputName(const std::string& output) { return output == kStandardStream ? "<stdout>" : output; }

std::string shownText(std::string_view text) {
    std::string shown = "\"";
    for (char c : text) shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return shown + "\"";
}

std::string pointCount(long count) { return std::to_string(count) + (count == 1 ? " point" : " points"); }

namespace {

// A text whose bytes may be in no known encoding: ASCII as it is (control
// characters as '?'), every other byte as \xNN.
std::string shownBytes(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string shown = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xF];
        } else {
            shown += byte < 0x20 || byte == 0x7F ? '?' : c;
        }
    }
    return shown + "\"";
}

std::string_view field(const char* text, std::size_t max) { return std::string_view(text, boundedLength(text, max)); }

// A coordinate as the point files write it, four decimals.
std::string numberText(double value) {
    char text[kFixedTextMax];
    return std::string(text, formatFixed(value, 4, text));
}

}  // namespace

std::string encodingName(const WriteSettings& settings) {
    return settings.encoding ? settings.encoding->name() : std::string("utf-8");
}

std::string refusalText(const PointFormat& to, const PointRecord& point, Refusal why,
                        const std::string& encodingName, const CoordinateSystem* crs) {
    const std::string name(to.name);
    switch (why) {
    case Refusal::NotInEncoding:
        return "point " + shownBytes(field(point.name, PointRecord::kNameMax)) + " (mark " +
               shownBytes(field(point.mark, PointRecord::kMarkMax)) + ") cannot be written as " + name +
               ": its texts are not " + encodingName + " text; name the code page the points are in with " +
               "--encoding (gbk, cp1252, utf-8...)";
    case Refusal::ControlCharacter:
        return "point " + shownText(point.name) + " cannot be written as " + name +
               ": its name or mark holds a control character or a noncharacter (U+FFFE, U+FFFF), which " + name +
                   " cannot carry";
    case Refusal::NoPosition:
        if (!crs) return "point " + shownText(point.name) + " cannot be written as " + name + " without --crs";
        return "point " + shownText(point.name) + " cannot be written as " + name + ": its N and E (" +
               numberText(point.n) + ", " + numberText(point.e) + ") have no longitude and latitude in " +
               systemText(*crs) + "; are they of another coordinate system, or swapped?";
    case Refusal::Value:
    case Refusal::None:
        break;
    }
    return "point " + shownText(point.name) + " cannot be written as " + name + " without changing it (" +
           (hasFiniteCoordinates(point) ? "a coordinate is larger than " + name + " can hold"
                                        : std::string("a coordinate is not a finite number")) +
           ")";
}
