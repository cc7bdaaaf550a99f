#include "engine/record_store.h"

#include <algorithm>

namespace velkor {

TextSpan TextArena::Add(std::u16string_view text) {
  if (text.empty()) return {};
  if (blocks_.empty() ||
      blocks_.back().size() + text.size() > std::min(kBlockUnits, blocks_.back().capacity())) {
    // Blocks double from a small first one: a window's batch or a small
    // image's store touches only what it uses, and a large store soon
    // reaches whole blocks. A block never holds more than kBlockUnits, which
    // the span's start counts on.
    const size_t units =
        blocks_.empty() ? kFirstBlockUnits : std::min(kBlockUnits, 2 * blocks_.back().capacity());
    blocks_.emplace_back();
    blocks_.back().reserve(std::max(units, text.size()));
  }
  std::u16string& block = blocks_.back();
  TextSpan span;
  span.start = ((blocks_.size() - 1) * kBlockUnits + block.size()) & ((uint64_t{1} << 40) - 1);
  span.length = text.size() & ((uint64_t{1} << 24) - 1);
  block.append(text);
  return span;
}

// Keeps the last block, the largest, so that a batch refilled window after
// window soon appends into one block.
void TextArena::Clear() {
  if (blocks_.empty()) return;
  if (blocks_.size() > 1) {
    blocks_.front() = std::move(blocks_.back());
    blocks_.resize(1);
  }
  blocks_.front().clear();
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
