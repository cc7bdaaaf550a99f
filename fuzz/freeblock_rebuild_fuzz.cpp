// One window walked with and without the deep scan's freed-cell rebuild. The
// deep walk must give exactly the whole cells' records of the plain one, and
// every record it adds must point at a freeblock header whose size covers at
// least the smallest cell; decoding may rewrite only zero bytes (to spaces).
#include <cstdint>
#include <vector>

#include "engine/cell_detector.h"
#include "engine/scan_input.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

// The batch's records found the given way, as a new batch.
RecordBatch FoundAs(const RecordBatch& batch, FoundBy how) {
  RecordBatch out;
  auto keep = [how](const auto& from, auto& to) {
    for (const auto& r : from) {
      if (r.origin.found == how) to.push_back(r);
    }
  };
  keep(batch.smsRecords, out.smsRecords);
  keep(batch.callRecords, out.callRecords);
  keep(batch.contactEvents, out.contactEvents);
  keep(batch.weChatRecords, out.weChatRecords);
  for (const auto& [key, part] : batch.contactParts.parts) {
    if (part.found == how) out.contactParts.emplace(key, part);
  }
  return out;
}

void CheckFreeblockAt(const std::vector<uint8_t>& bytes, uint64_t offset) {
  FUZZ_CHECK(offset + 4 <= bytes.size());
  const uint32_t next = static_cast<uint32_t>(bytes[offset]) << 8 | bytes[offset + 1];
  const uint32_t size = static_cast<uint32_t>(bytes[offset + 2]) << 8 | bytes[offset + 3];
  FUZZ_CHECK(size >= 2 + kMinPayload);
  FUZZ_CHECK(next == 0 || next > size);
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > kWindowSize) return 0;
  const RecordBatch deep = WalkWindow(bytes, platform, true, true);
  FUZZ_CHECK(BatchText(FoundAs(deep, FoundBy::kCell)) ==
             BatchText(WalkWindow(bytes, platform, true, false)));
  const RecordBatch freed = FoundAs(deep, FoundBy::kFreeblock);
  auto check = [&bytes](const auto& records) {
    for (const auto& r : records) CheckFreeblockAt(bytes, r.origin.offset);
  };
  check(freed.smsRecords);
  check(freed.callRecords);
  check(freed.contactEvents);
  check(freed.weChatRecords);
  for (const auto& [key, part] : freed.contactParts.parts) CheckFreeblockAt(bytes, part.offset);
  return 0;
}

}  // namespace velkor::fuzz
