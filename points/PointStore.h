// The one owner of the program's points: every PointRecord the program holds
// is a row of this store, rows in the order in which they were added.
//
// Rows are kept by value in chunks of room for kChunkRows records. The store
// grows a chunk at a time and never moves the rows it already holds: a
// million points cost no copy of a million records while they come, no
// moment with twice their memory, and no single large block to be found in
// a 32-bit address space. A record is made in its chunk only when its row
// comes, so the part of the last chunk that no row uses yet is memory the
// system need not give. Row numbers are 0-based; a row's number changes
// only when a row before it is removed.
//
// Growth can fail, when no memory can be had or the row limit is reached.
// An append then adds what fits, says how much that was, and leaves every
// row it holds as it was. No exception leaves the store.
//
// Observers hear of every change once it is made: rows added at the end, one
// row changed, one row removed (the rows after it move up by one), all rows
// removed. They are told in the order they were added and must not change
// the store, nor the set of observers, while they are being told. Watching
// only reads: any view of the rows (the list, a plot) registers through the
// read-only store.
//
// Rows that change one by one are told one by one: the end of a send may
// give thousands of rows new records in a row, each a rowChanged. So an
// observer does for a notification no more than the rows it names call
// for, and leaves work over every row (measuring them all, fitting a view
// to them) until it next shows them, once for the whole batch.
//
// Threads: one thread changes the store and tells the observers (the
// user-interface thread). Another thread may read the store while nothing
// changes it; a send reads the rows while the editing commands are disabled.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "points/PointRecord.h"

class PointStoreObserver {
public:
    virtual ~PointStoreObserver() = default;
    // Rows first .. first + count - 1 are new; they are the last rows.
    virtual void rowsAdded(std::size_t first, std::size_t count) = 0;
    virtual void rowChanged(std::size_t row) = 0;
    // The row is gone; the rows after it are now one row further up.
    virtual void rowRemoved(std::size_t row) = 0;
    virtual void allRemoved() = 0;
};

class PointStore {
public:
    static constexpr std::size_t kChunkRows = 16384;
    // Rows are numbered with int where a list shows them, so the store
    // holds at most this many.
    static const std::size_t kMaxRows;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = PointRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = const PointRecord*;
        using reference = const PointRecord&;

        const_iterator() = default;
        reference operator*() const { return store_->at(row_); }
        pointer operator->() const { return &store_->at(row_); }
        const_iterator& operator++() {
            ++row_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++row_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return row_ == other.row_; }
        bool operator!=(const const_iterator& other) const { return row_ != other.row_; }

    private:
        friend class PointStore;
        const_iterator(const PointStore* store, std::size_t row) : store_(store), row_(row) {}
        const PointStore* store_ = nullptr;
        std::size_t row_ = 0;
    };

    PointStore();
    ~PointStore();
    PointStore(const PointStore&) = delete;
    PointStore& operator=(const PointStore&) = delete;

    // Reading: a const PointStore is the read-only view of all rows.
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The record of a row; row < size().
    const PointRecord& at(std::size_t row) const { return chunks_[row / kChunkRows].get()[row % kChunkRows]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    // Adds a copy of the point as the new last row. False when the store
    // cannot grow; nothing has changed then.
    bool append(const PointRecord& point);
    // Adds copies of count points, in order, as the new last rows, and
    // returns how many it added: all of them, or as many as it could before
    // it could not grow. Observers hear of the added rows at once.
    std::size_t append(const PointRecord* points, std::size_t count);

    // Gives a row a new record. False, and nothing changes, when there is no
    // such row.
    bool replace(std::size_t row, const PointRecord& point);
    // Removes a row; the rows after it move up. False when there is none.
    bool remove(std::size_t row);
    // Removes every row and gives back their memory.
    void clear();

    // The store takes no more than rows rows (at most kMaxRows), and refuses
    // to grow beyond as it does when memory runs out. Rows it already holds
    // stay.
    void setRowLimit(std::size_t rows);
    std::size_t rowLimit() const { return limit_; }

    // An observer is told once however often it is added.
    void addObserver(PointStoreObserver& observer) const;
    void removeObserver(PointStoreObserver& observer) const;

private:
    // Room for kChunkRows records; the store makes and ends the records.
    struct ChunkFree {
        void operator()(PointRecord* room) const;
    };
    using Chunk = std::unique_ptr<PointRecord, ChunkFree>;

    PointRecord* slot(std::size_t row) { return chunks_[row / kChunkRows].get() + row % kChunkRows; }
    bool addChunk();
    void releaseSpareChunks();

    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
    std::size_t limit_;
    mutable std::vector<PointStoreObserver*> observers_;
};
