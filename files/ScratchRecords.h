// Bytes that a writer keeps from its first point to its end and then reads
// back once, in the order they came: in a scratch file of the file system
// (FileSystem::createScratchFile), or in memory when there is no file
// system or it makes no scratch file. Writing and reading the file go
// through one block, so that a million short records cost a few hundred
// reads and writes.
//
// A failed write or read is remembered: the writer then writes nothing more
// and leaves its output failed, so that the target is not replaced.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

class FileSystem;

class ScratchRecords {
public:
    explicit ScratchRecords(FileSystem* files);
    ~ScratchRecords();
    ScratchRecords(const ScratchRecords&) = delete;
    ScratchRecords& operator=(const ScratchRecords&) = delete;

    void append(const void* bytes, std::size_t size);

    // Ends appending and goes back to the first byte. False when keeping
    // any byte failed.
    bool rewind();

    // The next size bytes; false when fewer are left or reading failed.
    bool read(void* bytes, std::size_t size);

    bool failed() const { return failed_; }
    bool inMemory() const { return file_ == nullptr; }

private:
    void spill();
    bool refill();

    std::FILE* file_ = nullptr;
    std::vector<char> block_;  // in a file: the block on its way; in memory: every byte
    std::size_t used_ = 0;     // bytes in the block (appending), or read of it (reading)
    std::size_t filled_ = 0;   // reading: bytes in the block
    bool failed_ = false;
};
