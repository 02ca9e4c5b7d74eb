// Records kept in groups until every one has come, then handed back group
// after group, each group's records in the order they came: for a writer
// whose file holds the points of one mark together (KML's folder per mark)
// while the points come in the survey's order. (A writer that reads its
// records back once in the order they came has ScratchRecords.h.)
//
// The records are bytes that the writer makes and reads back. They wait in
// memory, one buffer per group, up to a limit for all of them together;
// past it every buffer goes to a scratch file as an extent of its group, so
// that memory stays the same however many points come: it grows only with
// the number of groups (an extent per group per spill, 16 bytes each).
// The scratch file comes from the file system (FileSystem::
// createScratchFile); without one everything stays in memory.
//
// A failed write or read of the scratch file is remembered: the records
// cannot all be handed back, and the writer's output must fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class FileSystem;

class GroupedSpool {
public:
    static constexpr std::size_t kMemoryLimit = std::size_t{4} << 20;

    // files: where the scratch file comes from; nullptr to keep everything
    // in memory.
    explicit GroupedSpool(FileSystem* files, std::size_t memoryLimit = kMemoryLimit);
    ~GroupedSpool();
    GroupedSpool(const GroupedSpool&) = delete;
    GroupedSpool& operator=(const GroupedSpool&) = delete;

    // Appends a record to group (0 to groups() - 1; groups() makes a new one).
    void append(std::size_t group, std::string_view record);
    std::size_t groups() const { return groups_.size(); }

    // Hands the records of group to take, in pieces of whole records in the
    // order they came. False when they cannot all be read back (the scratch
    // file failed), or take returned false.
    bool replay(std::size_t group, const std::function<bool(std::string_view records)>& take);

    bool failed() const { return failed_; }

private:
    struct Extent {
        std::uint64_t offset;
        std::uint64_t size;
    };
    struct Group {
        std::string held;  // in memory, after its extents
        std::vector<Extent> extents;
    };

    void spill();

    std::FILE* scratch_;
    const std::size_t memoryLimit_;
    std::vector<Group> groups_;
    std::size_t held_ = 0;      // bytes held in memory by every group
    std::uint64_t written_ = 0;  // bytes in the scratch file
    std::string block_;          // an extent read back
    bool failed_ = false;
};
