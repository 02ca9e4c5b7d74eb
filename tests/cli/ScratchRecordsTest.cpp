// The records a writer keeps until its end, in a scratch file or in memory.
#include "files/ScratchRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ScratchFiles.h"

namespace {

// Records across the blocks of a scratch file read back as in memory.
TEST(ScratchRecords, ReadsBackWhatCameInTheOrderItCame) {
    ScratchFiles scratch([] { return std::tmpfile(); });
    for (FileSystem* files : {static_cast<FileSystem*>(&scratch), static_cast<FileSystem*>(nullptr)}) {
        ScratchRecords records(files);
        EXPECT_EQ(records.inMemory(), files == nullptr);
        std::string all;
        for (int i = 0; i < 20000; ++i) {
            const std::string record(static_cast<std::size_t>(i % 37), static_cast<char>('a' + i % 26));
            records.append(record.data(), record.size());
            all += record;
        }
        ASSERT_TRUE(records.rewind());
        std::string back(all.size(), '\0');
        for (std::size_t at = 0, part = 1; at < all.size(); at += part, part = part % 5000 + 7)
            ASSERT_TRUE(records.read(&back[at], std::min(part, all.size() - at)));
        EXPECT_EQ(back, all);
        char more;
        EXPECT_FALSE(records.read(&more, 1));
        EXPECT_FALSE(records.failed());
    }
}

}  // namespace
