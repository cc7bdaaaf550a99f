// The texts of a record store, appended one after another in blocks that
// are never moved. Most texts of a phone (numbers, names and messages in
// ASCII or Latin-1) have no unit above 0xFF and are kept at one byte a
// unit; the others, Chinese ones among them, as UTF-16. That halves the
// memory, and the first touch of it, that millions of rows take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

// length units of one of an arena's two kinds of block from start. The
// texts of these lists come from single cells (payloads of at most
// kMaxPayload bytes) or handles, far below 2^23 units.
struct TextSpan {
  static constexpr uint64_t kStartMask = (uint64_t{1} << 40) - 1;
  uint64_t start : 40 = 0;
  uint64_t length : 23 = 0;
  uint64_t wide : 1 = 0;  // UTF-16 units, else one byte a unit
};
static_assert(sizeof(TextSpan) == 8);

// A stored text of either width. Two words, so that it is passed and
// returned in registers.
struct StoredText {
  const void* units = nullptr;
  uint32_t length = 0;
  bool wide = false;  // UTF-16, else units 0 to 0xFF one byte each

  std::span<const uint8_t> Narrow() const { return {static_cast<const uint8_t*>(units), length}; }
  std::u16string_view Wide() const { return {static_cast<const char16_t*>(units), length}; }
};
void AssignStoredText(std::u16string& out, StoredText text);
std::u16string ToU16String(StoredText text);

// Blocks of units of one width. Invariant: a text lies wholly in one block;
// its start counts block index times kBlockUnits plus its place in the
// block, and a text longer than a block gets a block of its own size. Nearly
// every block but the last is at least half full (no text of a cell comes
// near half a block; see Take for the exception), so the 40 bits of start
// address far more text than memory holds.
template <typename Unit>
class TextBlocks {
 public:
  static constexpr size_t kBlockUnits = (size_t{64} << 10) / sizeof(Unit);

  TextBlocks() = default;
  // Copies are whole and independent, as for any plain data of a store.
  TextBlocks(const TextBlocks& other);
  TextBlocks& operator=(const TextBlocks& other);
  TextBlocks(TextBlocks&&) noexcept = default;
  TextBlocks& operator=(TextBlocks&&) noexcept = default;
  ~TextBlocks() = default;

  // Room for count units at the end, and the start they get.
  Unit* Extend(size_t count, uint64_t& start);
  // Takes back the last count units of the last Extend.
  void GiveBack(size_t count);
  const Unit* At(uint64_t start) const {
    return blocks_[start / kBlockUnits].units.get() + start % kBlockUnits;
  }
  // Moves the blocks of other here and empties other; blockStarts gets,
  // per block of other, where its units went.
  void Take(TextBlocks& other, std::vector<uint64_t>& blockStarts);
  // Empties the blocks and keeps the first for the next texts.
  void Clear();

 private:
  struct Block {
    std::unique_ptr<Unit[]> units;
    size_t size = 0;
    size_t capacity = 0;
  };
  // The last block, with room for count units more, started anew when it
  // has none; its index.
  size_t BlockWithRoom(size_t count);

  std::vector<Block> blocks_;
};

class TextArena {
 public:
  // Where the texts of an arena went when another took them (Take): a span
  // of the old arena gives the span of the same text in the new one.
  struct Moved {
    std::vector<uint64_t> narrowStarts, wideStarts;  // per block of the old arena
    TextSpan operator()(TextSpan span) const {
      constexpr uint64_t kNarrow = TextBlocks<uint8_t>::kBlockUnits;
      constexpr uint64_t kWide = TextBlocks<char16_t>::kBlockUnits;
      if (span.length == 0) return {};
      if (span.wide) {
        span.start = (wideStarts[span.start / kWide] + span.start % kWide) & TextSpan::kStartMask;
      } else {
        span.start =
            (narrowStarts[span.start / kNarrow] + span.start % kNarrow) & TextSpan::kStartMask;
      }
      return span;
    }
  };

  TextSpan Add(std::u16string_view text);
  // Moves the texts of other here and empties other. Its blocks that are at
  // least half full change hands as they are; the texts of the others are
  // copied, so a window's few texts cost no block of their own.
  Moved Take(TextArena& other);
  void Clear();
  StoredText View(TextSpan span) const {
    if (span.length == 0) return {};
    const auto length = static_cast<uint32_t>(span.length);
    if (span.wide) return {wide_.At(span.start), length, true};
    return {narrow_.At(span.start), length, false};
  }

 private:
  TextBlocks<uint8_t> narrow_;
  TextBlocks<char16_t> wide_;
};

}  // namespace velkor
