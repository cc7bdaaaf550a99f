// The records one window yields, held apart from the scan's stores so that
// windows can be scanned on several threads and handed over in image order.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/record_types.h"

namespace velkor {

// Contact parts in arrival order; handed to the scan's multimap in that
// order, which keeps equal keys in arrival order there too.
struct ContactPartList {
  std::vector<std::pair<int64_t, ContactPart>> parts;
  void emplace(int64_t key, ContactPart part) { parts.emplace_back(key, std::move(part)); }
};

struct RecordBatch {
  std::vector<SmsRecord> smsRecords;
  std::vector<CallRecord> callRecords;
  std::vector<ContactEvent> contactEvents;
  std::vector<WeChatRecord> weChatRecords;
  ContactPartList contactParts;

  void Clear() {
    smsRecords.clear();
    callRecords.clear();
    contactEvents.clear();
    weChatRecords.clear();
    contactParts.parts.clear();
  }
};

}  // namespace velkor
