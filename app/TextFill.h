// Fills a text of the table with values, the way printf would for the few
// conversions the progress texts use: %c, %d with an optional 0 flag and
// width (%04d), %s and %%. The template comes from the text table, so it is
// never trusted as a printf format: a conversion this filler does not know,
// or one without a value left, is copied as it stands.
#pragma once

#include <string>
#include <vector>

class TextValue {
public:
    TextValue(char c) : kind_(Kind::Char), c_(c) {}
    TextValue(int i) : kind_(Kind::Int), i_(i) {}
    TextValue(const char* s) : kind_(Kind::Text), s_(s ? s : "") {}
    TextValue(const std::string& s) : kind_(Kind::Text), s_(s) {}

    enum class Kind { Char, Int, Text };
    Kind kind() const { return kind_; }
    char asChar() const { return c_; }
    int asInt() const { return i_; }
    const std::string& asText() const { return s_; }

private:
    Kind kind_;
    char c_ = 0;
    int i_ = 0;
    std::string s_;
};

std::string fillText(const std::string& pattern, const std::vector<TextValue>& values);
