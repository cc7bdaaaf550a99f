// One window walked with and without the deep scan's freed-cell rebuild. The
// deep walk must give exactly the whole cells' records of the plain one, and
// every record it adds must point at a freeblock header whose size covers at
// least the smallest cell; decoding may rewrite only zero bytes (to spaces).
#include <vector>

#include "engine/cell_detector.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace velkor;

// The records of the batch found the given way, as the lists show them.
std::string FoundAs(RecordBatch batch, FoundBy how, uint8_t platform) {
  auto keep = [how](auto& records) {
    auto kept = records;
    kept.clear();
    for (const auto& r : records)
      if (r.origin.found == how) kept.push_back(r);
    records = std::move(kept);
  };
  keep(batch.smsRecords);
  keep(batch.callRecords);
  keep(batch.contactEvents);
  keep(batch.weChatRecords);
  std::erase_if(batch.contactParts.parts, [how](const auto& p) { return p.second.found != how; });
  return BatchText(std::move(batch), platform);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader input{data, data + size};
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > kWindowSize) return 0;
  const RecordBatch deep = WalkWindow(bytes, platform, true, true);
  FUZZ_CHECK(FoundAs(deep, FoundBy::kCell, platform) ==
             FoundAs(WalkWindow(bytes, platform, true, false), FoundBy::kCell, platform));
  // Where a rebuilt record points, a freeblock header whose size covers at
  // least the smallest cell.
  auto check = [&bytes](uint64_t offset, FoundBy found) {
    if (found != FoundBy::kFreeblock) return;
    FUZZ_CHECK(offset + 4 <= bytes.size());
    const uint32_t next = static_cast<uint32_t>(bytes[offset]) << 8 | bytes[offset + 1];
    const uint32_t size = static_cast<uint32_t>(bytes[offset + 2]) << 8 | bytes[offset + 3];
    FUZZ_CHECK(size >= 2 + kMinPayload && (next == 0 || next > size));
  };
  for (const auto& r : deep.smsRecords) check(r.origin.offset, r.origin.found);
  for (const auto& r : deep.callRecords) check(r.origin.offset, r.origin.found);
  for (const auto& r : deep.contactEvents) check(r.origin.offset, r.origin.found);
  for (const auto& r : deep.weChatRecords) check(r.origin.offset, r.origin.found);
  for (const auto& [key, part] : deep.contactParts.parts) check(part.offset, part.found);
  return 0;
}
