// A cursor over one line of an exchange file, with the scanf-style steps the
// line readers are made of. Every step ends at the end of the line: the scan
// never reads past the line's NUL and never takes the line end (a final LF,
// CR LF or lone CR) into a field.
//
// White space, wherever a step skips or stops at it, is space, \t, \n, \v,
// \f and \r only; bytes 0x80..0xFF (GBK names) are never white space.
#pragma once

#include <string_view>

class LineScan {
public:
    explicit LineScan(const char* line);

    bool atEnd() const { return pos_ == end_; }

    void skipWhiteSpace();

    // Consumes c when it is the very next character.
    bool accept(char c);

    // Moves past the next c; false (and at the end) when the line has none.
    bool skipPast(char c);

    // The characters up to the next `stop` or the end of the line; white
    // space belongs to them. The stop character is not consumed.
    std::string_view takeUntil(char stop);

    // The run of characters up to the next white space, ',' or line end.
    std::string_view takeWord();

    // "%s": skips white space, then takes the run of non-white-space
    // characters; empty when the line ends first.
    std::string_view takeString();

    // "%lf": skips white space and converts one number; false, with value
    // unchanged, when there is none.
    bool scanNumber(double& value);

    // "%lf,%lf,...": converts numbers into the targets in turn, each ','
    // right after the number before it. Stops at the first number or ','
    // that is missing; targets converted so far keep their new values.
    // True when every target was converted.
    template <std::size_t N>
    bool scanNumbers(double* const (&targets)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            if (i > 0 && !accept(',')) return false;
            if (!scanNumber(*targets[i])) return false;
        }
        return true;
    }

private:
    const char* pos_;
    const char* end_;
};
