// Which records of a batch one cell gave, and marking them with where the
// cell lies and how it was found.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/record_batch.h"

namespace velkor {

// The records one cell gave are the ones appended while it was extracted;
// the sizes before it mark where they start.
struct BatchSizes {
  size_t sms, calls, contactEvents, weChat, parts;
  explicit BatchSizes(const RecordBatch& b)
      : sms(b.smsRecords.size()),
        calls(b.callRecords.size()),
        contactEvents(b.contactEvents.size()),
        weChat(b.weChatRecords.size()),
        parts(b.contactParts.parts.size()) {}
};

inline void StampOrigin(RecordBatch& batch, const BatchSizes& before, uint64_t cellStart,
                        FoundBy found) {
  auto stamp = [cellStart, found](auto& records, size_t from) {
    for (size_t i = from; i < records.size(); ++i) {
      records.At(i).origin.offset = cellStart;
      records.At(i).origin.found = found;
    }
  };
  stamp(batch.smsRecords, before.sms);
  stamp(batch.callRecords, before.calls);
  stamp(batch.contactEvents, before.contactEvents);
  stamp(batch.weChatRecords, before.weChat);
  auto& parts = batch.contactParts.parts;
  for (size_t i = before.parts; i < parts.size(); ++i) {
    parts[i].second.offset = cellStart;
    parts[i].second.found = found;
  }
}

inline bool Grew(const RecordBatch& batch, const BatchSizes& before) {
  return batch.smsRecords.size() != before.sms || batch.callRecords.size() != before.calls ||
         batch.contactEvents.size() != before.contactEvents ||
         batch.weChatRecords.size() != before.weChat ||
         batch.contactParts.parts.size() != before.parts;
}

}  // namespace velkor
