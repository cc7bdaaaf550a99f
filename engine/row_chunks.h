// The rows of a record store: millions of small fixed-size records, appended
// and read by index.
#pragma once

#include <cstddef>
#include <vector>

namespace velkor {

// Rows in chunks of kChunkRows that are never moved: growing copies nothing
// (a vector would copy every row and briefly hold two), and a chunk is one
// allocation for thousands of rows (a deque's nodes hold a few each).
// Invariant: every chunk but the last in use holds exactly kChunkRows rows,
// so row i is at chunk i / kChunkRows; chunks past the rows in use are empty
// and kept for the next rows.
template <typename Row>
class RowChunks {
 public:
  static constexpr size_t kChunkShift = 10;
  static constexpr size_t kChunkRows = size_t{1} << kChunkShift;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Row& operator[](size_t i) { return chunks_[i >> kChunkShift][i & (kChunkRows - 1)]; }
  const Row& operator[](size_t i) const { return chunks_[i >> kChunkShift][i & (kChunkRows - 1)]; }
  void push_back(const Row& row) {
    const size_t chunk = size_ >> kChunkShift;
    if (chunk == chunks_.size()) chunks_.emplace_back().reserve(kChunkRows);
    chunks_[chunk].push_back(row);
    ++size_;
  }
  // Keeps the chunks, so that a window batch reused for window after window
  // allocates (and first touches) its rows' memory only once.
  void clear() {
    for (std::vector<Row>& chunk : chunks_) chunk.clear();
    size_ = 0;
  }
  // fn(row) for every row in order.
  template <typename Fn>
  void ForEach(Fn fn) const {
    for (const std::vector<Row>& chunk : chunks_) {
      for (const Row& row : chunk) fn(row);
    }
  }

 private:
  std::vector<std::vector<Row>> chunks_;
  size_t size_ = 0;
};

}  // namespace velkor
