#include "fuzz/fuzz_support.h"

#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor::fuzz {
namespace {

void Field(std::string& out, const std::u16string& text) {
  out += ToUtf8(text);
  out += '\x1F';
}

void Field(std::string& out, int64_t value) {
  out += std::to_string(value);
  out += '\x1F';
}

template <typename... Values>
void Line(std::string& out, const char* kind, const Values&... values) {
  out += kind;
  (Field(out, values), ...);
  out += '\n';
}

void AppendRecords(std::string& out, const std::vector<SmsRecord>& sms,
                   const std::vector<CallRecord>& calls, const std::vector<ContactEvent>& events,
                   const std::vector<WeChatRecord>& weChat) {
  for (const SmsRecord& r : sms) {
    Line(out, "sms", r.number, r.content, r.status, r.time);
  }
  for (const CallRecord& r : calls) {
    Line(out, "call", r.number, r.name, r.location, r.time, r.callType, r.count);
  }
  for (const ContactEvent& r : events) {
    Line(out, "event", r.number, r.name, r.location, r.content, r.time, r.direction, r.count);
  }
  for (const WeChatRecord& r : weChat) {
    Line(out, "wechat", r.contact, r.content, r.time);
  }
}

}  // namespace

RecordBatch WalkWindow(const std::vector<uint8_t>& bytes, uint8_t platform, bool fastCellTest,
                       bool deep) {
  std::vector<uint8_t> window(bytes);
  window.resize(bytes.size() + kWindowSlack, 0);
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(window.data(), static_cast<uint32_t>(bytes.size()), platform, fastCellTest,
                       scratch, batch, {}, 0, deep);
  for (size_t k = 0; k < bytes.size(); ++k) {
    FUZZ_CHECK(window[k] == bytes[k] || (bytes[k] == 0 && window[k] == ' '));
  }
  for (size_t k = bytes.size(); k < window.size(); ++k) FUZZ_CHECK(window[k] == 0);
  return batch;
}

std::string BatchText(const RecordBatch& batch) {
  std::string out;
  AppendRecords(out, batch.smsRecords, batch.callRecords, batch.contactEvents, batch.weChatRecords);
  for (const auto& [key, part] : batch.contactParts.parts) {
    Line(out, "part", key, part.mark, part.text);
  }
  return out;
}

std::string StoresText(const RecordStores& stores, const ScanResult& result) {
  std::string out;
  AppendRecords(out, stores.sms, stores.calls, stores.contactEvents, stores.weChat);
  for (const PhoneBookEntry& entry : stores.phoneBook) {
    Line(out, "book", entry.name, entry.number);
  }
  for (const UnreadableRange& range : result.unreadable) {
    Line(out, "unreadable", static_cast<int64_t>(range.offset), static_cast<int64_t>(range.length));
  }
  Line(out, "end", result.opened, result.stopped);
  return out;
}

}  // namespace velkor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return velkor::fuzz::FuzzOne(data, size);
}
