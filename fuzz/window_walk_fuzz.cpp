// One window walked, decoded, classified and extracted on each platform, with
// the prefiltered and the plain cell test. The two tests must give the same
// records; decoding may rewrite only zero bytes of the window (to spaces).
#include <cstdint>
#include <vector>

#include "engine/scan_input.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > kWindowSize) return 0;
  FUZZ_CHECK(BatchText(WalkWindow(bytes, platform, true, false)) ==
             BatchText(WalkWindow(bytes, platform, false, false)));
  return 0;
}

}  // namespace velkor::fuzz
