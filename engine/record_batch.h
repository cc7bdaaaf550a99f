// The records one window yields, held apart from the scan's stores so that
// windows can be scanned on several threads and handed over in image order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/record_store.h"
#include "engine/record_types.h"

namespace velkor {

// Contact parts in arrival order; handed to the scan's multimap in that
// order, which keeps equal keys in arrival order there too.
struct ContactPartList {
  std::vector<std::pair<int64_t, ContactPart>> parts;
  void emplace(int64_t key, ContactPart part) { parts.emplace_back(key, std::move(part)); }
};

// Marks of the contact parts that carry the iOS message-handle join through
// a file's part map (the phone book takes only names and numbers): a
// handle's number under its rowid, and a message of the stores waiting for
// the handle of that rowid, its store index as text.
inline constexpr uint8_t kMarkHandle = 2;
inline constexpr uint8_t kMarkWaitingMessage = 3;

// A message of the batch whose number is the handle's of that rowid.
struct MessageHandle {
  size_t message = 0;  // index into smsRecords
  int64_t handle = 0;
};

// The record an extraction fills before the batch takes it. One of each kind
// is reused, so its strings keep their storage from record to record.
template <typename Record>
Record& Draft(Record& draft) {
  draft = Record{};  // moving in a short empty string keeps the storage
  return draft;
}

struct RecordBatch {
  SmsStore smsRecords;
  std::vector<MessageHandle> messageHandles;
  CallStore callRecords;
  EventStore contactEvents;
  WeChatStore weChatRecords;
  ContactPartList contactParts;
  struct {
    SmsRecord sms;
    CallRecord call;
    ContactEvent event;
    WeChatRecord weChat;
  } drafts;

  void Clear() {
    smsRecords.clear();
    messageHandles.clear();
    callRecords.clear();
    contactEvents.clear();
    weChatRecords.clear();
    contactParts.parts.clear();
  }
};

}  // namespace velkor
