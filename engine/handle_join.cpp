#include "engine/number_parse.h"
#include "engine/record_scan_parts.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

const ContactPart* FindHandle(const ContactPartMap& parts, int64_t key) {
  const auto [first, last] = parts.equal_range(key);
  for (auto it = first; it != last; ++it) {
    if (it->second.mark == kMarkHandle) return &it->second;
  }
  return nullptr;
}

void GiveNumber(SmsStore& messages, size_t index, const ContactPart& handle) {
  StoredSms& message = messages.At(index);
  if (message.number.length != 0) return;
  message.number = messages.AddText(handle.text);
  if (!handle.full.empty()) messages.FullOf(index).Set(1, handle.text, handle.full);
}

}  // namespace

// Invariant: for every key of a file's part map there is at most one
// kMarkHandle part (the first handle row found with that rowid), and a
// kMarkWaitingMessage part only while no handle of its key has come. A
// message and its handle thus meet whichever of the two is found first.
void JoinMessageHandles(RecordBatch& batch, size_t firstMessage, SmsStore& messages,
                        ContactPartMap& parts) {
  for (auto& [key, part] : batch.contactParts.parts) {
    if (part.mark != kMarkHandle || FindHandle(parts, key) != nullptr) continue;
    const auto [first, last] = parts.equal_range(key);
    for (auto it = first; it != last;) {
      if (it->second.mark != kMarkWaitingMessage) {
        ++it;
        continue;
      }
      const auto index = static_cast<size_t>(ParseInt64(it->second.text));
      if (index < messages.size()) GiveNumber(messages, index, part);
      it = parts.erase(it);
    }
    parts.emplace(key, std::move(part));
  }
  for (const MessageHandle& link : batch.messageHandles) {
    const size_t index = firstMessage + link.message;
    if (const ContactPart* handle = FindHandle(parts, link.handle)) {
      GiveNumber(messages, index, *handle);
    } else {
      parts.emplace(link.handle,
                    ContactPart{kMarkWaitingMessage, DecimalText(static_cast<uint64_t>(index))});
    }
  }
}

}  // namespace velkor
