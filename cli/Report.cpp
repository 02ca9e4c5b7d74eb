#include "cli/Report.h"

#include "files/PointFormats.h"
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

std::string cannotHoldText(const PointFormat& to, const PointRecord& point) {
    return "point " + shownText(point.name) + " cannot be written as " + to.name + " without changing it (" +
           (hasFiniteCoordinates(point) ? "a coordinate is larger than " + std::string(to.name) + " can hold"
                                        : std::string("a coordinate is not a finite number")) +
           ")";
}
