// One window walked, decoded, classified and extracted on each platform, with
// the prefiltered and the plain cell test. The two tests must give the same
// records; decoding may rewrite only zero bytes of the window (to spaces).
#include <vector>

#include "engine/record_scan_parts.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace velkor;

std::string Walk(const std::vector<uint8_t>& bytes, uint8_t platform, bool fast) {
  // The scanned bytes followed by the slack a last window has: zeros.
  std::vector<uint8_t> window(bytes);
  window.resize(bytes.size() + kWindowSlack, 0);
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(window.data(), static_cast<uint32_t>(bytes.size()), platform, fast, scratch,
                       batch);
  for (size_t k = 0; k < window.size(); ++k) {
    const uint8_t was = k < bytes.size() ? bytes[k] : 0;
    FUZZ_CHECK(window[k] == was || (was == 0 && k < bytes.size() && window[k] == ' '));
  }
  RecordStores stores{.platform = platform};
  ContactPartMap parts;
  CommitBatch(batch, stores, parts);
  BuildPhoneBook(parts, stores.phoneBook);
  return StoresText(stores);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velkor::InputReader input{data, data + size};
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > velkor::kWindowSize) return 0;
  FUZZ_CHECK(Walk(bytes, platform, true) == Walk(bytes, platform, false));
  return 0;
}
