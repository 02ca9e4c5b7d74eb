// What every platform's TextEncoding must do with the texts of points: the
// cases and checks that the native unit tests run against iconv and that
// encoding_check.exe runs against the system's code pages under Wine. Each
// check returns a line for every case that failed; none when all passed.
#pragma once

#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
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

// kRefused: no encoding opens by the name.
constexpr unsigned kRefused = ~0u;

struct NameCase {
    const char* name;
    unsigned codePage;  // of the encoding opened, or kRefused
};

// Names in the spellings users give, and names that no platform opens:
// unknown ones, options, and encodings that do not keep ASCII as ASCII
// (UTF-16 and UCS-2 halves, UTF-7's '+', EBCDIC, ISO-2022's ESC).
inline const NameCase kNameCases[] = {
    {"gbk", 936},          {"GBK", 936},          {"cp936", 936},         {"gb2312", 936},
    {"euc-cn", 936},       {"big5", 950},         {"cp932", 932},         {"euc-kr", 949},
    {"uhc", 949},          {"cp949", 949},        {"utf-8", 65001},       {"UTF8", 65001},
    {"latin1", 28591},     {"iso-8859-1", 28591}, {"ISO-8859-15", 28605}, {"koi8-r", 20866},
    {"cp1252", 1252},      {"CP1252", 1252},      {"windows-1252", 1252}, {"ibm437", 437},
    {"cp437", 437},        {"437", 437},
    {"", kRefused},        {"no-such", kRefused}, {"utf-16", kRefused},   {"ucs-2", kRefused},
    {"utf-7", kRefused},   {"cp1200", kRefused},  {"ibm037", kRefused},   {"iso-2022-jp", kRefused},
    {"cp50220", kRefused}, {"gbk//IGNORE", kRefused}, {"utf-8//TRANSLIT", kRefused},
};

// The bytes in hexadecimal, for the messages.
inline std::string hexOf(const std::string& bytes) {
    std::string hex;
    char digits[4];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, hex.empty() ? "%02x" : " %02x", c);
        hex += digits;
    }
    return hex;
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
            if (!(encoding = opened.back().second.get())) {
                failures.push_back(std::string(c->encoding) + ": does not open");
                continue;
            }
        }
        std::string out = "<";  // appended to, never replaced
        const std::string got = encoding->appendUtf8(c->bytes, out) ? hexOf(out) : "a failure";
        const std::string expected = c->utf8 ? hexOf(std::string("<") + c->utf8) : "a failure";
        if (got != expected)
            failures.push_back(std::string(c->encoding) + " " + hexOf(c->bytes) + ": " + got + ", expected " +
                               expected);
    }
    return failures;
}

inline std::vector<std::string> checkNames(const NameCase* begin, const NameCase* end) {
    std::vector<std::string> failures;
    for (const NameCase* c = begin; c != end; ++c) {
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(c->name);
        const unsigned got = encoding ? encoding->codePage() : kRefused;
        if (got != c->codePage || (encoding && encoding->name() != c->name))
            failures.push_back('"' + std::string(c->name) + "\": code page " + std::to_string(static_cast<int>(got)) +
                               ", expected " + std::to_string(static_cast<int>(c->codePage)) + " (-1: refused)");
    }
    return failures;
}

// Random texts of ASCII bytes (controls too) come out as they went in, in
// every encoding that opens.
inline std::vector<std::string> checkAsciiUnchanged(unsigned seed) {
    std::vector<std::string> failures;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(0, 20), byte(0, 0x7F);
    for (const NameCase& c : kNameCases) {
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(c.name);
        if (!encoding) continue;  // checkNames tells
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
// toEncoding (the platform's conversion from UTF-8), to the same pair; at
// least `least` pairs convert.
template <class ToEncoding>
std::vector<std::string> checkPairsReadBack(const char* name, int least, ToEncoding toEncoding) {
    std::vector<std::string> failures;
    const std::unique_ptr<TextEncoding> encoding = openTextEncoding(name);
    if (!encoding) return {std::string(name) + ": does not open"};
    int accepted = 0;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8;
            if (!encoding->appendUtf8(bytes, utf8)) continue;
            ++accepted;
            const std::string back = toEncoding(utf8);
            if (back != bytes && failures.size() < 20)
                failures.push_back(std::string(name) + " " + hexOf(bytes) + " -> " + hexOf(utf8) + " -> " +
                                   hexOf(back));
        }
    }
    if (accepted < least)
        failures.push_back(std::string(name) + ": " + std::to_string(accepted) + " pairs converted, expected " +
                           std::to_string(least) + " at least");
    return failures;
}

// A text longer than any buffer an implementation keeps on the stack, whole
// and with a byte cut off at its end.
inline std::vector<std::string> checkLongText() {
    std::string text, utf8;
    for (int i = 0; i < 1000; ++i) {
        text += i % 10 ? "\xb5\xe3" : "P";
        utf8 += i % 10 ? "\xe7\x82\xb9" : "P";
    }
    const std::string cutOff = text + "\xb5";
    const ConversionCase cases[] = {{"gbk", text.c_str(), utf8.c_str()}, {"gbk", cutOff.c_str(), nullptr}};
    return checkConversions(std::begin(cases), std::end(cases));
}
