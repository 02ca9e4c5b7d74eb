// What every platform's TextEncoding must do with the texts of points: the
// cases and checks that the native unit tests run against iconv and that
// encoding_check.exe runs against the system's code pages under Wine. Each
// check returns a line for every case that failed; none when all passed.
#pragma once

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "files/TextEncoding.h"

struct ConversionCase {
    const char* encoding;
    const char* bytes;
    const char* utf8;  // nullptr: not a text of this encoding
};

// Texts that both platforms convert alike, in an order that runs every
// encoding's valid texts after its invalid ones: a failed text leaves
// nothing behind for the next.
inline const ConversionCase kConversionCases[] = {
    {"gbk", "\xb5", nullptr},                            // a lead byte cut off
    {"gbk", "\xb5\xe3\xb5", nullptr},                    // after a whole character
    {"gbk", "\xb5\x30", nullptr},                        // a trail byte no character has
    {"gbk", "\xb5\xe3", "\xe7\x82\xb9"},                 // 点
    {"GBK", "P\xb5\xe3" "1", "P\xe7\x82\xb9" "1"},
    {"cp936", "\xb5\xe7\xcf\xdf", "\xe7\x94\xb5\xe7\xba\xbf"},  // 电线
    {"gbk", "\x80", "\xe2\x82\xac"},                     // the euro sign of code page 936
    {"gb2312", "\xb8\xcb", "\xe6\x9d\x86"},              // 杆
    {"cp1252", "\x80", "\xe2\x82\xac"},
    {"cp1252", "caf\xe9", "caf\xc3\xa9"},
    {"windows-1252", "\xe9", "\xc3\xa9"},
    {"utf-8", "\xc0\xaf", nullptr},                      // '/' in an overlong form
    {"utf-8", "\xe0\x80\xaf", nullptr},                  // the same in three bytes
    {"utf-8", "\x80", nullptr},                          // a continuation byte alone
    {"utf-8", "\xe7\x82", nullptr},                      // 点 cut short
    {"utf-8", "a\xe7\x82", nullptr},
    {"utf-8", "\xed\xa0\x80", nullptr},                  // a surrogate
    {"utf-8", "\xf4\x90\x80\x80", nullptr},              // above U+10FFFF
    {"utf-8", "\xf8\x88\x80\x80\x80", nullptr},          // a five-byte form
    {"utf-8", "\xfe", nullptr},
    {"utf-8", "\xe7\x82\xb9", "\xe7\x82\xb9"},
    {"UTF8", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},    // U+10FFFF, the last
    {"utf-8", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
    {"big5", "\xa4\x40", "\xe4\xb8\x80"},                // 一
    {"cp932", "\x82\xa0", "\xe3\x81\x82"},               // あ
    {"cp932", "\x82", nullptr},
    {"euc-kr", "\xb0\xa1", "\xea\xb0\x80"},              // 가
    {"latin1", "\xe9", "\xc3\xa9"},
    {"iso-8859-15", "\xa4", "\xe2\x82\xac"},
    {"koi8-r", "\xc1", "\xd0\xb0"},                      // а
    {"cp437", "\x80", "\xc3\x87"},                       // Ç
};

struct CodePageCase {
    const char* name;
    unsigned codePage;
};

// Names that open, in the spellings users give, and their code pages.
inline const CodePageCase kOpenedCodePages[] = {
    {"gbk", 936},          {"GBK", 936},        {"cp936", 936},       {"gb2312", 936},
    {"euc-cn", 936},       {"big5", 950},       {"cp932", 932},       {"euc-kr", 949},
    {"uhc", 949},          {"cp949", 949},      {"utf-8", 65001},     {"UTF8", 65001},
    {"latin1", 28591},     {"iso-8859-1", 28591}, {"ISO-8859-15", 28605}, {"koi8-r", 20866},
    {"cp1252", 1252},      {"CP1252", 1252},    {"windows-1252", 1252}, {"ibm437", 437},
    {"cp437", 437},        {"437", 437},
};

// Names that no platform opens: unknown ones, options, and encodings that do
// not keep ASCII as ASCII (UTF-16 and UCS-2 halves, UTF-7's '+', EBCDIC,
// ISO-2022's ESC).
inline const char* const kRefusedNames[] = {
    "", "no-such", "utf-16", "ucs-2", "utf-7", "cp1200", "ibm037", "iso-2022-jp", "cp50220",
    "gbk//IGNORE", "utf-8//TRANSLIT",
};

inline std::string hexOf(const std::string& bytes) {
    std::string hex;
    char digits[4];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", c);
        hex += hex.empty() ? "" : " ";
        hex += digits;
    }
    return hex.empty() ? "(empty)" : hex;
}

inline std::vector<std::string> checkConversions(const ConversionCase* begin, const ConversionCase* end) {
    std::vector<std::string> failures;
    // One encoding per name for every case, as a writer holds it.
    std::vector<std::pair<std::string, std::unique_ptr<TextEncoding>>> opened;
    for (const ConversionCase* c = begin; c != end; ++c) {
        const TextEncoding* encoding = nullptr;
        for (const auto& entry : opened)
            if (entry.first == c->encoding) encoding = entry.second.get();
        if (!encoding) {
            opened.emplace_back(c->encoding, openTextEncoding(c->encoding));
            encoding = opened.back().second.get();
        }
        const std::string what = std::string(c->encoding) + " " + hexOf(c->bytes);
        if (!encoding) {
            failures.push_back(what + ": the encoding does not open");
            continue;
        }
        std::string out = "<";  // appended to, never replaced
        const bool converted = encoding->appendUtf8(c->bytes, out);
        if (!c->utf8 && converted)
            failures.push_back(what + ": converted to " + hexOf(out.substr(1)) + ", expected a failure");
        if (c->utf8 && (!converted || out != std::string("<") + c->utf8))
            failures.push_back(what + ": " + (converted ? "converted to " + hexOf(out) : std::string("failed")) +
                               ", expected " + hexOf(std::string("<") + c->utf8));
    }
    return failures;
}

inline std::vector<std::string> checkCodePages(const CodePageCase* begin, const CodePageCase* end) {
    std::vector<std::string> failures;
    for (const CodePageCase* c = begin; c != end; ++c) {
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(c->name);
        if (!encoding)
            failures.push_back(std::string(c->name) + ": does not open");
        else if (encoding->codePage() != c->codePage || encoding->name() != c->name)
            failures.push_back(std::string(c->name) + ": opens as " + encoding->name() + ", code page " +
                               std::to_string(encoding->codePage()) + ", expected " + std::to_string(c->codePage));
    }
    return failures;
}

inline std::vector<std::string> checkRefused(const char* const* begin, const char* const* end) {
    std::vector<std::string> failures;
    for (const char* const* name = begin; name != end; ++name)
        if (openTextEncoding(*name)) failures.push_back(std::string("\"") + *name + "\": opens, expected nullptr");
    return failures;
}

// Random texts of ASCII bytes (controls too) come out as they went in, in
// every encoding that opens.
inline std::vector<std::string> checkAsciiUnchanged(unsigned seed) {
    std::vector<std::string> failures;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(0, 20), byte(0, 0x7F);
    for (const CodePageCase& c : kOpenedCodePages) {
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(c.name);
        if (!encoding) continue;  // checkCodePages tells
        for (int round = 0; round < 200; ++round) {
            std::string text(static_cast<std::size_t>(length(random)), ' ');
            for (char& ch : text) ch = static_cast<char>(byte(random));
            std::string out;
            if (!encoding->appendUtf8(text, out) || out != text)
                failures.push_back(std::string(c.name) + " " + hexOf(text) + ": came out as " + hexOf(out));
        }
    }
    return failures;
}

// Every pair of bytes that the encoding converts converts back, by
// toEncoding (the platform's conversion from UTF-8), to the same pair.
// accepted counts the pairs that converted.
template <class ToEncoding>
std::vector<std::string> checkPairsReadBack(const char* name, ToEncoding toEncoding, int& accepted) {
    std::vector<std::string> failures;
    accepted = 0;
    const std::unique_ptr<TextEncoding> encoding = openTextEncoding(name);
    if (!encoding) return {std::string(name) + ": does not open"};
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8;
            if (!encoding->appendUtf8(bytes, utf8)) continue;
            ++accepted;
            const std::string back = toEncoding(utf8);
            if (back != bytes && failures.size() < 20)
                failures.push_back(std::string(name) + " " + hexOf(bytes) + " -> " + hexOf(utf8) + " -> " + hexOf(back));
        }
    }
    return failures;
}

// A text longer than any buffer an implementation keeps on the stack, whole
// and with a byte cut off at its end.
inline std::vector<std::string> checkLongText() {
    std::vector<std::string> failures;
    const std::unique_ptr<TextEncoding> gbk = openTextEncoding("gbk");
    if (!gbk) return {"gbk: does not open"};
    std::string text, expected;
    for (int i = 0; i < 1000; ++i) {
        text += i % 10 ? "\xb5\xe3" : "P";
        expected += i % 10 ? "\xe7\x82\xb9" : "P";
    }
    std::string out;
    if (!gbk->appendUtf8(text, out) || out != expected)
        failures.push_back("a long gbk text: converted to " + std::to_string(out.size()) + " bytes, expected " +
                           std::to_string(expected.size()));
    out.clear();
    if (gbk->appendUtf8(text + "\xb5", out)) failures.push_back("a long gbk text cut off: converted");
    return failures;
}
