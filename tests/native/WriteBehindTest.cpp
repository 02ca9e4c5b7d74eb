// A sink that writes its blocks on a thread of their own: the file holds
// exactly what was put, in order, the disk is asked to take it as it grows,
// and a failed write is told in the words of the thread that made it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "fakes/TempFiles.h"

#include "files/TextSink.h"
#include "files/WriteBehind.h"
#include "files/posix/PosixFileSystem.h"

namespace {

// The POSIX file system, counting the requests to start writing back.
struct CountingFileSystem : PosixFileSystem {
    void startWriteback(std::FILE* file) override {
        ++writebacks;
        PosixFileSystem::startWriteback(file);
    }
    int writebacks = 0;
};

TEST(WriteBehind, FileHoldsEveryByteInOrderWhateverThePieces) {
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        CountingFileSystem system;
        std::FILE* file = std::tmpfile();
        std::string expected;
        {
            TextSink sink(file, system);
            while (expected.size() < 3 * WriteBehind::kWritebackStep) {
                // Single characters, short texts and texts longer than a block.
                const std::size_t size = random() % 4 == 0 ? random() % 700000 : random() % 40;
                std::string piece(size, '\0');
                for (char& c : piece) c = static_cast<char>('a' + random() % 26);
                if (size == 1) {
                    sink.put(piece[0]);
                } else {
                    sink.put(piece);
                }
                expected += piece;
            }
            ASSERT_TRUE(sink.flush());
            EXPECT_FALSE(sink.failed());
            EXPECT_EQ(sink.errorText(), "");
            sink.put("after the flush");  // and a destructor that leaves it unwritten
            expected += "after the flush";
            ASSERT_TRUE(sink.flush());
        }
        EXPECT_EQ(contentOf(file), expected) << "seed " << seed;
        EXPECT_GE(system.writebacks, 2) << "seed " << seed;
        EXPECT_LE(static_cast<std::uint64_t>(system.writebacks), expected.size() / WriteBehind::kWritebackStep);
        std::fclose(file);
    }
}

// A full disk: the sink fails, says why in the writing thread's words, and
// a sink destroyed before its flush does not wait forever.
TEST(WriteBehind, FullDiskFailsWithTheSystemsWords) {
    PosixFileSystem system;
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    {
        TextSink sink(full, system);
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 8; ++i) sink.put(block);
        EXPECT_FALSE(sink.flush());
        EXPECT_TRUE(sink.failed());
        EXPECT_EQ(sink.errorText(), std::strerror(ENOSPC));
    }
    {
        TextSink unflushed(full, system);
        for (int i = 0; i < 8; ++i) unflushed.put(std::string(1 << 20, 'y'));
    }
    std::fclose(full);
}

}  // namespace
