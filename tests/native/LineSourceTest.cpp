// Counting a file's lines ahead of reading them, as Import does to prepare
// the list.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/TempFiles.h"

#include "files/LineSource.h"

namespace {

TEST(CountLines, CountsWhatTheReaderHandsOut) {
    const struct {
        std::string text;
        std::size_t lines;
    } cases[] = {
        {"", 0},
        {"\n", 1},
        {"a", 1},
        {"a\nb\n", 2},
        {"a\r\nb", 2},
        {"a\n\n", 2},
        {std::string(200000, 'x') + "\n" + std::string(70000, '\n'), 70001},  // across read blocks
        // A Ctrl-Z ends the file, also in a later read block.
        {"a\nb\x1A" "c\n", 2},
        {"\x1A" "abc\n", 0},
        {"a\x1A\n\n", 1},
        {"a\r\n\x1A", 1},
        {"a\r\x1A", 1},
        {std::string(70000, '\n') + "x\x1A" + std::string(70000, '\n'), 70001},
        {std::string(65536, '\n') + "\x1A" "x\n", 65536},
    };
    for (const auto& c : cases) {
        std::FILE* file = fileWith(c.text);
        EXPECT_EQ(countLines(file), c.lines) << c.text.size() << " bytes";
        // The reader still starts at the beginning.
        LineSource source(file);
        std::size_t read = 0;
        while (source.next()) ++read;
        if (c.text.size() < 1000 || c.text.find('\x1A') != std::string::npos) {
            EXPECT_EQ(read, c.lines) << c.text.substr(0, 20);
        }
        std::fclose(file);
    }
}

TEST(LineSource, ReadsTheLinesBeforeACtrlZAndNothingAfterIt) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"P1\r\nP2\x1AP3\r\n", {"P1\n", "P2"}},
        {"P1\r\n\x1A\r\nP3\r\n", {"P1\n"}},
        {"P1\r\x1A", {"P1\r"}},
        {"\x1A", {}},
        {"P1\r\nP2", {"P1\n", "P2"}},  // without a Ctrl-Z, as ever
    };
    for (const auto& c : cases) {
        std::FILE* file = fileWith(c.text);
        LineSource source(file);
        std::vector<std::string> lines;
        while (const char* line = source.next()) lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_FALSE(source.next());  // stays at the end
        EXPECT_FALSE(source.failed());
        std::fclose(file);
    }
}

// The lines as a text-mode fgets with a 1024-byte buffer gives them, one
// byte at a time.
std::vector<std::string> fgetsLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size() && text[i] != '\x1A'; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') c = text[++i];
        line += c;
        if (c == '\n' || line.size() == LineSource::kMaxPiece) lines.push_back(std::move(line)), line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Random texts of the bytes that end lines, or come close to those that do,
// at every place in the words and blocks that the reader takes at once.
TEST(LineSource, GivesTheLinesThatFgetsGivesOnRandomTexts) {
    const char bytes[] = {'\n', '\r', '\x1A', '\x1B', '\x1F', '\x09', '\x0B', 'a', ' ', '\x80', '\xFF', '\xB5'};
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        std::string text(random() % 150000, 'x');
        const unsigned rare = 1 + random() % 400;  // from lines of a few bytes to long ones
        for (char& c : text) {
            if (random() % rare == 0) c = bytes[random() % sizeof bytes];
        }
        if (round % 2) std::replace(text.begin(), text.end(), '\x1A', 'z');  // most texts to their end
        std::FILE* file = fileWith(text);
        LineSource source(file);
        std::vector<std::string> lines;
        while (const char* line = source.next()) lines.push_back(line);
        EXPECT_EQ(lines, fgetsLines(text)) << "round " << round;
        std::fclose(file);
    }
}

TEST(CountLines, StartsWhereTheFileStandsAndLeavesItThere) {
    std::FILE* file = fileWith("one\ntwo\nthree");
    char first[8];
    ASSERT_TRUE(std::fgets(first, sizeof first, file));
    EXPECT_EQ(countLines(file), 2u);
    EXPECT_EQ(std::ftell(file), 4);
    std::fclose(file);
}

}  // namespace
