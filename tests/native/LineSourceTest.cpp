// Counting a file's lines ahead of reading them, as Import does to prepare
// the list.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "files/LineSource.h"

namespace {

std::FILE* fileWith(const std::string& text) {
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    return file;
}

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
    };
    for (const auto& c : cases) {
        std::FILE* file = fileWith(c.text);
        EXPECT_EQ(countLines(file), c.lines) << c.text.size() << " bytes";
        // The reader still starts at the beginning.
        LineSource source(file);
        std::size_t read = 0;
        while (source.next()) ++read;
        if (c.text.size() < 1000) {
            EXPECT_EQ(read, c.lines) << c.text;
        }
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
