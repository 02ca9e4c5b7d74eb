#include "files/ScratchRecords.h"

#include <algorithm>
#include <cstring>

#include "files/FileSystem.h"

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
}

ScratchRecords::ScratchRecords(FileSystem* files) : file_(files ? files->createScratchFile() : nullptr) {
    if (file_) block_.resize(kBlockSize);
}

ScratchRecords::~ScratchRecords() {
    if (file_) std::fclose(file_);
}

void ScratchRecords::append(const void* bytes, std::size_t size) {
    const char* from = static_cast<const char*>(bytes);
    if (!file_) {
        block_.insert(block_.end(), from, from + size);
        return;
    }
    while (size > 0) {
        if (used_ == block_.size()) spill();
        const std::size_t part = std::min(size, block_.size() - used_);
        std::memcpy(block_.data() + used_, from, part);
        used_ += part;
        from += part;
        size -= part;
    }
}

void ScratchRecords::spill() {
    if (!failed_ && used_ > 0 && std::fwrite(block_.data(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

bool ScratchRecords::rewind() {
    if (file_) {
        spill();
        if (!failed_ && (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0)) failed_ = true;
        filled_ = 0;
    } else {
        filled_ = block_.size();
    }
    used_ = 0;
    return !failed_;
}

bool ScratchRecords::refill() {
    if (!file_ || failed_) return false;
    filled_ = std::fread(block_.data(), 1, block_.size(), file_);
    used_ = 0;
    if (std::ferror(file_)) failed_ = true;
    return filled_ > 0 && !failed_;
}

bool ScratchRecords::read(void* bytes, std::size_t size) {
    char* to = static_cast<char*>(bytes);
    while (size > 0) {
        if (used_ == filled_ && !refill()) return false;
        const std::size_t part = std::min(size, filled_ - used_);
        std::memcpy(to, block_.data() + used_, part);
        used_ += part;
        to += part;
        size -= part;
    }
    return true;
}
