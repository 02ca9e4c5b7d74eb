#include "files/TextSink.h"

#include <algorithm>
#include <cstring>

#include "files/WriteBehind.h"
#include "points/NumberText.h"

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
constexpr std::size_t kBehindBlockSize = 1 << 18;  // fewer hand-overs between the threads
}  // namespace

TextSink::TextSink(std::FILE* file) : file_(file), block_(kBlockSize) {}

TextSink::TextSink(std::FILE* file, FileSystem& system)
    : file_(file), block_(kBehindBlockSize), behind_(std::make_unique<WriteBehind>(file, system)) {}

TextSink::~TextSink() = default;

bool TextSink::failed() const { return failed_ || (behind_ && behind_->failed()); }

std::string TextSink::errorText() const { return behind_ ? behind_->errorText() : std::string(); }

// Text that does not fit what is left of the block: in parts.
void TextSink::putLong(std::string_view text) {
    while (!text.empty()) {
        if (used_ == block_.size()) spill();
        std::size_t part = std::min(text.size(), block_.size() - used_);
        std::memcpy(block_.data() + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
    }
}

void TextSink::spill() {
    if (behind_) {
        if (used_ > 0 && !failed_) block_ = behind_->handOver(std::move(block_), used_);
    } else if (!failed_ && used_ > 0 && std::fwrite(block_.data(), 1, used_, file_) != used_) {
        failed_ = true;
    }
    used_ = 0;
}

bool TextSink::flush() {
    spill();
    if (behind_ && !behind_->drain()) failed_ = true;
    if (!failed_ && std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

void TextSink::putFixed(double value, int decimals) {
    char text[kFixedTextMax];
    put(std::string_view(text, static_cast<std::size_t>(formatFixed(value, decimals, text) - text)));
}

void TextSink::putCoordinate(double value, int decimals) {
    char text[kFixedTextMax];
    put(coordinateText(value, decimals, text));
}

std::string_view coordinateText(double value, int decimals, char* text) {
    const char* end = formatFixed(value, decimals, text);
    const char* start = text;
    if (*start == '-') {
        const char* digit = start + 1;
        while (digit < end && (*digit == '0' || *digit == '.')) ++digit;
        if (digit == end) ++start;  // every digit is 0
    }
    return std::string_view(start, static_cast<std::size_t>(end - start));
}
