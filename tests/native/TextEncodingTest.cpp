// The texts of points converted to UTF-8 with the C library's iconv
// (files/posix), against the cases every platform shares
// (tests/cli/EncodingCases.h) and what glibc alone does; the names of code
// pages.
#include <iconv.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../cli/EncodingCases.h"
#include "files/CodePageName.h"
#include "files/TextEncoding.h"

namespace {

using Failures = std::vector<std::string>;

TEST(TextEncoding, ConvertsTheSharedCases) {
    EXPECT_EQ(checkConversions(std::begin(kConversionCases), std::end(kConversionCases)), Failures{});
    EXPECT_EQ(checkLongText(), Failures{});
}

// glibc's tables: a byte that the code page leaves undefined is no character
// (the system's code page 1252 maps 0x81 to U+0081 instead), nor is GBK's
// 0xFF.
TEST(TextEncoding, ConvertsAsGlibcDoes) {
    const ConversionCase cases[] = {
        {"cp1252", "\x81", nullptr}, {"cp1252", "\x8d", nullptr}, {"cp1252", "\x8f", nullptr},
        {"cp1252", "\x90", nullptr}, {"cp1252", "\x9d", nullptr}, {"cp1252", "a\x81", nullptr},
        {"gbk", "\xff", nullptr},    {"gb18030", "\x81\x30\x81\x30", "\xc2\x80"},
    };
    EXPECT_EQ(checkConversions(std::begin(cases), std::end(cases)), Failures{});
}

// Beside the shared names, glibc's encodings with no code page of the same
// characters, and those of glibc's that write other characters in ASCII
// bytes: its Shift_JIS reads '\' as the yen sign and '~' as an overline,
// where code page 932 keeps them.
TEST(TextEncoding, OpensNamesWithTheirCodePages) {
    EXPECT_EQ(checkNames(std::begin(kNameCases), std::end(kNameCases)), Failures{});
    const NameCase glibcNames[] = {
        {"tis-620", 0},          {"euc-jp", 0},           {"gb18030", 54936},       {"shift_jis", kRefused},
        {"SJIS", kRefused},      {"ebcdic-us", kRefused}, {"iso-2022-kr", kRefused}, {"iso-2022-cn", kRefused},
        {"viscii", kRefused},    {"utf-32", kRefused},    {"ucs-4", kRefused},
    };
    EXPECT_EQ(checkNames(std::begin(glibcNames), std::end(glibcNames)), Failures{});
    EXPECT_EQ(openTextEncoding(std::string("gbk\0x", 5)), nullptr);
    const auto byDefault = openTextEncoding(defaultTextEncodingName());
    ASSERT_NE(byDefault, nullptr);
    EXPECT_EQ(byDefault->codePage(), 65001u);
}

TEST(TextEncoding, KeepsAsciiTextsAsTheyAre) {
    EXPECT_EQ(checkAsciiUnchanged(20240601), Failures{});
}

// iconv from UTF-8 back into the encoding.
std::string convertedBack(const char* encoding, const std::string& utf8) {
    const iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "(no conversion back)";
    std::string in = utf8, out(16, '\0');
    char* from = &in[0];
    char* to = &out[0];
    std::size_t fromLeft = in.size(), toLeft = out.size();
    const bool converted = iconv(cd, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return converted ? out.substr(0, out.size() - toLeft) : "(not converted back)";
}

// At least GBK's 21,886 characters less its one-byte ones, and cp1252's 123
// upper bytes with each of the 251 bytes that may follow.
TEST(TextEncoding, EveryPairThatConvertsReadsBack) {
    for (const auto& [name, least] : {std::pair("gbk", 21000), std::pair("cp1252", 123 * 251)}) {
        const char* encoding = name;
        const auto back = [encoding](const std::string& utf8) { return convertedBack(encoding, utf8); };
        EXPECT_EQ(checkPairsReadBack(name, least, back), Failures{});
    }
}

TEST(CodePageName, ReadsTheNamesUsersGive) {
    const NameCase cases[] = {
        {"cp936", 936},     {"CP1252", 1252},     {"windows-1251", 1251}, {"Windows_1250", 1250},
        {"ibm437", 437},    {"IBM-850", 850},     {"65001", 65001},       {"cp65001", 65001},
        {"gbk", 936},       {"GB2312", 936},      {"euc_cn", 936},        {"gb18030", 54936},
        {"big5", 950},      {"Shift_JIS", 932},   {"shift-jis", 932},     {"sjis", 932},
        {"EUC-KR", 949},    {"uhc", 949},         {"utf-8", 65001},       {"UTF8", 65001},
        {"utf_8", 65001},   {"latin1", 28591},    {"ISO-8859-1", 28591},  {"iso8859-2", 28592},
        {"iso_8859-15", 28605}, {"iso-8859-16", 28606}, {"koi8-r", 20866}, {"KOI8R", 20866},
        // No code page.
        {"", 0},            {"cp", 0},            {"cp0", 0},             {"cp65536", 0},
        {"cp123456", 0},    {"cp12a", 0},         {"cp-", 0},             {"iso-8859-0", 0},
        {"iso-8859-17", 0}, {"iso-8859", 0},      {" utf-8", 0},          {"utf-16", 0},
        {"x-gbk", 0},       {"windows", 0},       {"ansi", 0},            {"4294968232", 0},
    };
    for (const NameCase& c : cases) EXPECT_EQ(codePageOfName(c.name), c.codePage) << '"' << c.name << '"';
}

}  // namespace
