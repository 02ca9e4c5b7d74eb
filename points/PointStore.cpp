#include "points/PointStore.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <memory>
#include <new>

const std::size_t PointStore::kMaxRows = INT_MAX;

void PointStore::ChunkFree::operator()(PointRecord* room) const { ::operator delete(room); }

PointStore::PointStore() : limit_(kMaxRows) {}

PointStore::~PointStore() {
    for (std::size_t row = 0; row < size_; ++row) slot(row)->~PointRecord();
}

// One more chunk at the end. The table of chunks grows first, so that the
// chunk, once made, is certain to find its place.
bool PointStore::addChunk() {
    try {
        if (chunks_.size() == chunks_.capacity()) chunks_.reserve(std::max<std::size_t>(8, chunks_.size() * 2));
    } catch (const std::exception&) {
        return false;
    }
    Chunk chunk(static_cast<PointRecord*>(::operator new(kChunkRows * sizeof(PointRecord), std::nothrow)));
    if (!chunk) return false;
    chunks_.push_back(std::move(chunk));
    return true;
}

// Chunks that no row needs go back, but for one: a list that shrinks and
// grows again around a chunk's edge does not make and free it every time.
void PointStore::releaseSpareChunks() {
    std::size_t needed = (size_ + kChunkRows - 1) / kChunkRows;
    while (chunks_.size() > needed + 1) chunks_.pop_back();
}

bool PointStore::append(const PointRecord& point) { return append(&point, 1) == 1; }

std::size_t PointStore::append(const PointRecord* points, std::size_t count) {
    const std::size_t first = size_;
    std::size_t added = 0;
    while (added < count && size_ < limit_) {
        if (size_ == chunks_.size() * kChunkRows && !addChunk()) break;
        // As many as fit into the chunk that holds the next row.
        std::size_t room = std::min({kChunkRows - size_ % kChunkRows, limit_ - size_, count - added});
        std::uninitialized_copy(points + added, points + added + room, slot(size_));
        size_ += room;
        added += room;
    }
    if (added > 0)
        for (PointStoreObserver* observer : observers_) observer->rowsAdded(first, added);
    return added;
}

bool PointStore::replace(std::size_t row, const PointRecord& point) {
    if (row >= size_) return false;
    *slot(row) = point;
    for (PointStoreObserver* observer : observers_) observer->rowChanged(row);
    return true;
}

bool PointStore::remove(std::size_t row) {
    if (row >= size_) return false;
    // Chunk by chunk, each row moves up by one; the first row of the next
    // chunk fills the last place of the one before.
    for (std::size_t r = row; r + 1 < size_;) {
        const std::size_t c = r / kChunkRows;
        PointRecord* chunk = chunks_[c].get();
        const std::size_t rowsHere = std::min(kChunkRows, size_ - c * kChunkRows);
        std::copy(chunk + r % kChunkRows + 1, chunk + rowsHere, chunk + r % kChunkRows);
        r = c * kChunkRows + rowsHere - 1;
        if (r + 1 < size_) {
            chunk[kChunkRows - 1] = *chunks_[c + 1].get();
            ++r;
        }
    }
    --size_;
    slot(size_)->~PointRecord();
    releaseSpareChunks();
    for (PointStoreObserver* observer : observers_) observer->rowRemoved(row);
    return true;
}

void PointStore::clear() {
    for (std::size_t row = 0; row < size_; ++row) slot(row)->~PointRecord();
    std::vector<Chunk>().swap(chunks_);
    size_ = 0;
    for (PointStoreObserver* observer : observers_) observer->allRemoved();
}

void PointStore::setRowLimit(std::size_t rows) { limit_ = std::min(rows, kMaxRows); }

void PointStore::addObserver(PointStoreObserver& observer) const {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
}

void PointStore::removeObserver(PointStoreObserver& observer) const {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}
