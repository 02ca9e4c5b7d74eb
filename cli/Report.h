// Messages to the user on standard error, in the form a command-line user
// and an editor's error list expect: "file:line: what is wrong", or
// "file: what is wrong" for a whole file, or "pointlink: what is wrong" for
// the program itself. Names and marks in messages are shown with their
// control characters as '?', so that no point text can garble the terminal.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class CoordinateSystem;
class PointRecord;
struct PointFormat;
enum class Refusal;
struct WriteSettings;

class Report {
public:
    explicit Report(std::FILE* err) : err_(err) {}

    void atLine(const std::string& file, long line, const std::string& text);
    void onFile(const std::string& file, const std::string& text);
    void program(const std::string& text);

private:
    std::FILE* err_;
};

// "-", standard input or output, on the command line.
extern const char kStandardStream[];

// The names messages give an input and an output: "<stdin>" and
// "<stdout>" for "-", any other as it was given.
std::string shownInputName(const std::string& input);
std::string shownOutputName(const std::string& output);

// A point's name or mark as a message shows it: in double quotes, control
// characters as '?'.
std::string shownText(std::string_view text);

// "1 point", "2 points".
std::string pointCount(long count);

// The name of the encoding that settings give the points' texts.
std::string encodingName(const WriteSettings& settings);

// Why a point is not written in the format `to`, whose refusal is why:
// 'point "P7" cannot be written as ruvo without changing it (...)'. A text
// that is not text of the points' encoding (named encodingName) is shown
// with its bytes beyond ASCII as \xNN, and the message says how to name
// another encoding. A point with no position names the coordinate system
// crs (nullptr when none was named).
std::string refusalText(const PointFormat& to, const PointRecord& point, Refusal why,
                        const std::string& encodingName, const CoordinateSystem* crs = nullptr);
