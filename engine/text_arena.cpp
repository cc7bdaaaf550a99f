#include "engine/text_arena.h"

#include <algorithm>

namespace velkor {
namespace {

constexpr uint64_t kLengthMask = (uint64_t{1} << 23) - 1;

}  // namespace

void AssignStoredText(std::u16string& out, StoredText text) {
  if (text.wide) {
    out.assign(text.Wide());
    return;
  }
  const std::span<const uint8_t> narrow = text.Narrow();
  out.resize(narrow.size());
  std::copy(narrow.begin(), narrow.end(), out.begin());
}

std::u16string ToU16String(StoredText text) {
  std::u16string out;
  AssignStoredText(out, text);
  return out;
}

template <typename Unit>
TextBlocks<Unit>::TextBlocks(const TextBlocks& other) {
  blocks_.reserve(other.blocks_.size());
  for (const Block& block : other.blocks_) {
    Block& copy = blocks_.emplace_back();
    copy.capacity = block.capacity;
    copy.size = block.size;
    copy.units = std::make_unique_for_overwrite<Unit[]>(block.capacity);
    std::copy_n(block.units.get(), block.size, copy.units.get());
  }
}

template <typename Unit>
TextBlocks<Unit>& TextBlocks<Unit>::operator=(const TextBlocks& other) {
  if (this != &other) *this = TextBlocks(other);
  return *this;
}

template <typename Unit>
size_t TextBlocks<Unit>::BlockWithRoom(size_t count) {
  if (blocks_.empty() || blocks_.back().size + count > kBlockUnits) {
    Block block;
    block.capacity = std::max(kBlockUnits, count);
    block.units = std::make_unique_for_overwrite<Unit[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  return blocks_.size() - 1;
}

template <typename Unit>
Unit* TextBlocks<Unit>::Extend(size_t count, uint64_t& start) {
  const size_t index = BlockWithRoom(count);
  Block& block = blocks_[index];
  start = index * kBlockUnits + block.size;
  Unit* at = block.units.get() + block.size;
  block.size += count;
  return at;
}

// A copied block goes whole into the last block, so its texts keep their
// distances; being less than half full, it fits a new block. The last block
// is given up when the copy does not fit, which can leave it less than half
// full: the exception to the invariant, at most one block per take.
template <typename Unit>
void TextBlocks<Unit>::Take(TextBlocks& other, std::vector<uint64_t>& blockStarts) {
  blockStarts.clear();
  blockStarts.reserve(other.blocks_.size());
  size_t kept = 0;  // other's copied blocks, moved to its front for reuse
  for (Block& block : other.blocks_) {
    if (block.size >= kBlockUnits / 2) {
      blockStarts.push_back(blocks_.size() * kBlockUnits);
      blocks_.push_back(std::move(block));
      continue;
    }
    uint64_t start = 0;
    if (block.size != 0) std::copy_n(block.units.get(), block.size, Extend(block.size, start));
    blockStarts.push_back(start);
    std::swap(other.blocks_[kept++], block);
  }
  other.blocks_.resize(kept);
  other.Clear();
}

template <typename Unit>
void TextBlocks<Unit>::GiveBack(size_t count) {
  blocks_.back().size -= count;
}

template <typename Unit>
void TextBlocks<Unit>::Clear() {
  if (blocks_.size() > 1) blocks_.resize(1);
  if (!blocks_.empty()) blocks_.front().size = 0;
}

template class TextBlocks<uint8_t>;
template class TextBlocks<char16_t>;

// Narrowed while the units are checked, in one pass; a text with a unit
// above 0xFF is then copied wide and its narrow room given back.
TextSpan TextArena::Add(std::u16string_view text) {
  if (text.empty()) return {};
  TextSpan span;
  uint64_t start = 0;
  uint8_t* narrow = narrow_.Extend(text.size(), start);
  uint32_t high = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    high |= text[i];
    narrow[i] = static_cast<uint8_t>(text[i]);
  }
  if (high > 0xFF) {
    narrow_.GiveBack(text.size());
    std::copy(text.begin(), text.end(), wide_.Extend(text.size(), start));
    span.wide = 1;
  }
  span.start = start & TextSpan::kStartMask;
  span.length = text.size() & kLengthMask;
  return span;
}

TextArena::Moved TextArena::Take(TextArena& other) {
  Moved moved;
  narrow_.Take(other.narrow_, moved.narrowStarts);
  wide_.Take(other.wide_, moved.wideStarts);
  return moved;
}

void TextArena::Clear() {
  narrow_.Clear();
  wide_.Clear();
}

}  // namespace velkor
