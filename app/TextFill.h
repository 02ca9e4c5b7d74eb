// Fills a text of the table with values, the way printf would for the few
// conversions the texts use: %c, %d with an optional 0 flag and width
// (%04d), %s and %%. The template comes from the text table, so it is never
// trusted as a printf format: a conversion this filler does not know, or
// one without its value, is copied as it stands.
//
// A conversion may name its value by number, "%2$d" for the second, so that
// a language can order a sentence's values as it needs; a conversion without
// a number takes the value after the one the conversion before it took (the
// first value at the start), as printf's do.
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

// The conversion character ('c', 'd' or 's') that takes each value of a
// template, by the value's 0-based position, as fillText reads it; 0 for a
// value that no conversion takes. For checking that every language's text
// takes the same values in the same ways.
std::vector<char> textConversions(const std::string& pattern);
