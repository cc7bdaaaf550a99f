// The stores the record scan fills: per list, its records in a compact form
// and one text arena. A record holds its texts as spans of the arena instead
// of a heap string per field, and its full Unicode texts, which differ from
// the list texts only now and then, live apart, keyed by row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/record_types.h"
#include "engine/row_chunks.h"

namespace velkor {

// length units of an arena from start. The texts of these lists come from
// single cells (payloads of at most kMaxPayload bytes) or handles, far below
// 2^24 units.
struct TextSpan {
  uint64_t start : 40 = 0;
  uint64_t length : 24 = 0;
};
static_assert(sizeof(TextSpan) == 8);

// UTF-16 texts appended one after another. The arena grows by blocks that
// are never moved, so growing it copies nothing and the views it gives stay
// valid. Invariant: a text lies wholly in one block; start counts block
// index times kBlockUnits plus the place in the block, and a text longer than
// a block gets a block of its own size. Every block but the last is at least
// half full (no text of a cell comes near half a block), so the 40 bits of
// start address 2^39 units of text, far beyond what memory holds.
class TextArena {
 public:
  static constexpr size_t kBlockUnits = size_t{1} << 15;

  // Where the texts of an arena went when another took them (Take): a span
  // of the old arena gives the span of the same text in the new one.
  struct Moved {
    std::vector<uint64_t> blockStarts;  // per block of the old arena
    TextSpan operator()(TextSpan span) const {
      if (span.length == 0) return {};
      span.start = (blockStarts[span.start / kBlockUnits] + span.start % kBlockUnits) &
                   ((uint64_t{1} << 40) - 1);
      return span;
    }
  };

  TextSpan Add(std::u16string_view text);
  // Moves the texts of other here and empties other. Its blocks that are at
  // least half full change hands as they are; the texts of the others are
  // copied, so a window's few texts cost no block of their own.
  Moved Take(TextArena& other);
  // Empties the arena and keeps its first block for the next texts.
  void Clear();
  std::u16string_view View(TextSpan span) const {
    const std::u16string_view block = blocks_[span.start / kBlockUnits];
    return block.substr(span.start % kBlockUnits, span.length);
  }

 private:
  // The last block, with room for units more, started anew when it has
  // none; its index.
  size_t BlockWithRoom(size_t units);

  std::vector<std::u16string> blocks_;
};

// The stored forms: the record types' fields with texts as spans.
struct StoredSms {
  TextSpan number, content;
  int64_t time = 0;
  RecordOrigin origin{};
  uint8_t status = 0;
};
struct StoredCall {
  TextSpan number, name, location;
  int64_t time = 0;
  RecordOrigin origin{};
  uint32_t count = 0;
  uint8_t callType = 0;
};
struct StoredEvent {
  TextSpan number, name, location, content;
  int64_t time = 0;
  RecordOrigin origin{};
  uint32_t count = 0;
  uint8_t direction = 0;
};
struct StoredWeChat {
  TextSpan contact, content;
  int64_t time = 0;
  RecordOrigin origin{};
};

// fn(span) for each text span of a stored record.
template <typename Fn>
void ForEachText(StoredSms& r, Fn fn) {
  fn(r.number), fn(r.content);
}
template <typename Fn>
void ForEachText(StoredCall& r, Fn fn) {
  fn(r.number), fn(r.name), fn(r.location);
}
template <typename Fn>
void ForEachText(StoredEvent& r, Fn fn) {
  fn(r.number), fn(r.name), fn(r.location), fn(r.content);
}
template <typename Fn>
void ForEachText(StoredWeChat& r, Fn fn) {
  fn(r.contact), fn(r.content);
}

// Between the two forms (full texts aside).
StoredSms Store(TextArena& texts, const SmsRecord& r);
StoredCall Store(TextArena& texts, const CallRecord& r);
StoredEvent Store(TextArena& texts, const ContactEvent& r);
StoredWeChat Store(TextArena& texts, const WeChatRecord& r);
SmsRecord Load(const TextArena& texts, const StoredSms& r);
CallRecord Load(const TextArena& texts, const StoredCall& r);
ContactEvent Load(const TextArena& texts, const StoredEvent& r);
WeChatRecord Load(const TextArena& texts, const StoredWeChat& r);

// One list. Rows are appended as records and read back either whole (a
// Record with its own strings, for tests and the odd lookup) or as the
// stored form with views into the arena (for walking millions of rows).
template <typename Record, typename Stored>
class RecordStore {
 public:
  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Record;

    Iterator(const RecordStore* store, size_t at) : store_(store), at_(at) {}
    Record operator*() const { return (*store_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    const RecordStore* store_;
    size_t at_;
  };

  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  void push_back(const Record& record) {
    rows_.push_back(Store(texts_, record));
    if (!record.full.differing.empty()) full_.emplace(rows_.size() - 1, record.full);
  }
  Record operator[](size_t i) const {
    Record record = Load(texts_, rows_[i]);
    if (const FullTexts* full = Full(i)) record.full = *full;
    return record;
  }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, rows_.size()}; }

  // Moves the rows of other to the end of this store, marked as found in
  // the file given (see RecordOrigin::file), and empties other. Its texts
  // change arenas mostly by whole blocks (TextArena::Take), so handing a
  // window's batch over copies little more than the fixed-size rows.
  void Append(RecordStore& other, uint32_t file) {
    const size_t first = rows_.size();
    const TextArena::Moved moved = texts_.Take(other.texts_);
    other.rows_.ForEach([&](Stored row) {
      row.origin.file = file;
      ForEachText(row, [&](TextSpan& span) { span = moved(span); });
      rows_.push_back(row);
    });
    for (auto& [i, full] : other.full_) full_.emplace(first + i, std::move(full));
    other.clear();
  }
  void clear() {
    rows_.clear();
    texts_.Clear();
    full_.clear();
  }

  const Stored& At(size_t i) const { return rows_[i]; }
  Stored& At(size_t i) { return rows_[i]; }
  std::u16string_view Text(TextSpan span) const { return texts_.View(span); }
  TextSpan AddText(std::u16string_view text) { return texts_.Add(text); }
  // The full texts of row i that differ from its list texts; nullptr when
  // none do.
  const FullTexts* Full(size_t i) const {
    const auto it = full_.find(i);
    return it == full_.end() ? nullptr : &it->second;
  }
  FullTexts& FullOf(size_t i) { return full_[i]; }

 private:
  RowChunks<Stored> rows_;
  TextArena texts_;
  std::map<size_t, FullTexts> full_;
};

using SmsStore = RecordStore<SmsRecord, StoredSms>;
using CallStore = RecordStore<CallRecord, StoredCall>;
using EventStore = RecordStore<ContactEvent, StoredEvent>;
using WeChatStore = RecordStore<WeChatRecord, StoredWeChat>;

}  // namespace velkor
