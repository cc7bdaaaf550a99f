// One window walked, decoded, classified and extracted on each platform, with
// the prefiltered and the plain cell test. The two tests must give the same
// records; decoding may rewrite only zero bytes of the window (to spaces).
#include <vector>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkor;
  InputReader input{data, data + size};
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > kWindowSize) return 0;
  FUZZ_CHECK(BatchText(WalkWindow(bytes, platform, true, false), platform) ==
             BatchText(WalkWindow(bytes, platform, false, false), platform));
  return 0;
}
