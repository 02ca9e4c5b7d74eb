// What the platforms' TextEncodings share: the name and code page they were
// opened with, texts of ASCII bytes appended as they are, and the check at
// their opening that the encoding keeps ASCII as ASCII. Each platform's
// part converts the other texts.
#pragma once

#include <string>
#include <string_view>

#include "files/TextEncoding.h"

class ConvertingTextEncoding : public TextEncoding {
public:
    const std::string& name() const final { return name_; }
    unsigned codePage() const final { return codePage_; }
    bool appendUtf8(std::string_view text, std::string& out) const final;

    // True when every ASCII byte, alone, converts to itself. Each byte is
    // tried on its own so that one that starts a shift (the ESC of
    // ISO-2022, the '+' of UTF-7) or half a character (UTF-16) fails as
    // well as one that stands for another character (EBCDIC; the yen sign
    // in place of '\'). An encoding that opens must pass.
    bool keepsAscii() const;

protected:
    ConvertingTextEncoding(const std::string& name, unsigned codePage) : name_(name), codePage_(codePage) {}

    // appendUtf8 with the platform's conversion, for any text.
    virtual bool appendConverted(std::string_view text, std::string& out) const = 0;

private:
    std::string name_;
    unsigned codePage_;
};
