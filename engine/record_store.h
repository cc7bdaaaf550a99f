// The stores the record scan fills: per list, its records in a compact form
// and one text arena (engine/text_arena.h). A record holds its texts as spans of the arena instead
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
#include "engine/text_arena.h"

namespace velkor {

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
  StoredText Text(TextSpan span) const { return texts_.View(span); }
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
