#include "files/GroupedSpool.h"

#include <climits>

#include "files/FileSystem.h"

GroupedSpool::GroupedSpool(FileSystem* files, std::size_t memoryLimit)
    : scratch_(files ? files->createScratchFile() : nullptr), memoryLimit_(memoryLimit) {}

GroupedSpool::~GroupedSpool() {
    if (scratch_) std::fclose(scratch_);
}

void GroupedSpool::append(std::size_t group, std::string_view record) {
    if (group == groups_.size()) groups_.emplace_back();
    groups_[group].held.append(record);
    held_ += record.size();
    if (scratch_ && held_ > memoryLimit_) spill();
}

// Every group's buffer to the end of the scratch file as an extent of its
// own; the buffers are given back, so that groups that were large once do
// not keep their memory.
void GroupedSpool::spill() {
    held_ = 0;
    if (failed_) {
        for (Group& group : groups_) std::string().swap(group.held);
        return;
    }
    // Reads and writes of one stream need a seek between them.
    if (std::fseek(scratch_, 0, SEEK_END) != 0) failed_ = true;
    for (Group& group : groups_) {
        if (group.held.empty()) continue;
        if (!failed_ && std::fwrite(group.held.data(), 1, group.held.size(), scratch_) != group.held.size())
            failed_ = true;
        group.extents.push_back({written_, group.held.size()});
        written_ += group.held.size();
        std::string().swap(group.held);
    }
}

bool GroupedSpool::replay(std::size_t group, const std::function<bool(std::string_view records)>& take) {
    if (failed_ || group >= groups_.size()) return false;
    for (const Extent& extent : groups_[group].extents) {
        block_.resize(static_cast<std::size_t>(extent.size));
        // fseek takes a long, which has 32 bits on Windows: a scratch file
        // past 2 GiB there cannot be read back.
        if (extent.offset > static_cast<std::uint64_t>(LONG_MAX) || std::fflush(scratch_) != 0 || std::fseek(scratch_, static_cast<long>(extent.offset), SEEK_SET) != 0 ||
            std::fread(&block_[0], 1, block_.size(), scratch_) != block_.size()) {
            failed_ = true;
            return false;
        }
        if (!take(block_)) return false;
    }
    const std::string& held = groups_[group].held;
    return held.empty() || take(held);
}
