#include "engine/record_store.h"

#include <algorithm>

namespace velkor {

size_t TextArena::BlockWithRoom(size_t units) {
  if (blocks_.empty() || blocks_.back().size() + units > kBlockUnits) {
    blocks_.emplace_back();
    blocks_.back().reserve(std::max(kBlockUnits, units));
  }
  return blocks_.size() - 1;
}

TextSpan TextArena::Add(std::u16string_view text) {
  if (text.empty()) return {};
  const size_t index = BlockWithRoom(text.size());
  std::u16string& block = blocks_[index];
  TextSpan span;
  span.start = (index * kBlockUnits + block.size()) & ((uint64_t{1} << 40) - 1);
  span.length = text.size() & ((uint64_t{1} << 24) - 1);
  block.append(text);
  return span;
}

// A copied block goes whole into the last block, so its texts keep their
// distances; being less than half full, it fits a new block, and the last
// block is given up only when more than half full, which keeps the arena's
// invariant.
TextArena::Moved TextArena::Take(TextArena& other) {
  Moved moved;
  moved.blockStarts.reserve(other.blocks_.size());
  size_t kept = 0;  // other's copied blocks, moved to its front for reuse
  for (std::u16string& block : other.blocks_) {
    if (block.size() >= kBlockUnits / 2) {
      moved.blockStarts.push_back(blocks_.size() * kBlockUnits);
      blocks_.push_back(std::move(block));
      continue;
    }
    uint64_t start = 0;
    if (!block.empty()) {
      const size_t index = BlockWithRoom(block.size());
      start = index * kBlockUnits + blocks_[index].size();
      blocks_[index].append(block);
    }
    moved.blockStarts.push_back(start);
    std::swap(other.blocks_[kept++], block);
  }
  other.blocks_.resize(kept);
  other.Clear();
  return moved;
}

void TextArena::Clear() {
  if (blocks_.size() > 1) blocks_.resize(1);
  if (!blocks_.empty()) blocks_.front().clear();
}

StoredSms Store(TextArena& texts, const SmsRecord& r) {
  return {texts.Add(r.number), texts.Add(r.content), r.time, r.origin, r.status};
}

StoredCall Store(TextArena& texts, const CallRecord& r) {
  return {texts.Add(r.number), texts.Add(r.name), texts.Add(r.location), r.time, r.origin, r.count,
          r.callType};
}

StoredEvent Store(TextArena& texts, const ContactEvent& r) {
  return {texts.Add(r.number),
          texts.Add(r.name),
          texts.Add(r.location),
          texts.Add(r.content),
          r.time,
          r.origin,
          r.count,
          r.direction};
}

StoredWeChat Store(TextArena& texts, const WeChatRecord& r) {
  return {texts.Add(r.contact), texts.Add(r.content), r.time, r.origin};
}

SmsRecord Load(const TextArena& texts, const StoredSms& r) {
  SmsRecord out{std::u16string(texts.View(r.number)), std::u16string(texts.View(r.content)),
                r.status, r.time};
  out.origin = r.origin;
  return out;
}

CallRecord Load(const TextArena& texts, const StoredCall& r) {
  CallRecord out{std::u16string(texts.View(r.number)),
                 std::u16string(texts.View(r.name)),
                 std::u16string(texts.View(r.location)),
                 r.time,
                 r.callType,
                 r.count};
  out.origin = r.origin;
  return out;
}

ContactEvent Load(const TextArena& texts, const StoredEvent& r) {
  ContactEvent out{std::u16string(texts.View(r.number)),
                   std::u16string(texts.View(r.name)),
                   std::u16string(texts.View(r.location)),
                   std::u16string(texts.View(r.content)),
                   r.time,
                   r.direction,
                   r.count};
  out.origin = r.origin;
  return out;
}

WeChatRecord Load(const TextArena& texts, const StoredWeChat& r) {
  WeChatRecord out{std::u16string(texts.View(r.contact)), std::u16string(texts.View(r.content)),
                   r.time};
  out.origin = r.origin;
  return out;
}

}  // namespace velkor
