// The whole record scan of an image held in memory, read through a source
// that may give short reads or fail from a chosen offset on, on one thread and
// on two. Both must leave the same stores, progress events and log lines.
#include <algorithm>
#include <vector>

#include "engine/record_scan.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/test_doubles.h"

namespace {

using namespace velkor;

// Windows of a few pages, so that every shape of the scan (a partial window
// alone, a full one and a partial one, reads across a window's end, pieces)
// costs about the input's size rather than a mebibyte's.
constexpr uint32_t kFuzzWindow = 2 * kReadPiece;

std::string Scan(const std::vector<uint8_t>& image, uint8_t platform, test::ReadFaults faults,
                 uint32_t threads) {
  test::Recorder reports;
  ScanInput input;
  input.platform = platform;
  input.progress = &reports;
  input.log = &reports;
  input.imagePath = "fuzz.img";
  input.imageOpener = test::FaultyOpener(test::MemoryOpener(image), std::move(faults));
  RecordStores stores;
  RecordScanOptions options{kTypeSms | kTypePhoneBook | kTypeCalls, threads, true};
  options.windowSize = kFuzzWindow;
  const ScanResult result = ScanRecords(input, options, stores);
  FUZZ_CHECK(result.opened && result.imageSize == image.size());
  std::string text = StoresText(stores);  // unreadable ranges are logged
  for (const auto* lines : {&reports.events, &reports.texts, &reports.logs}) {
    for (const std::string& line : *lines) text += line + "\n";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader input{data, data + size};
  const uint8_t flags = input.Byte();
  // A backup folder's files are scanned as iOS images are; the folder itself
  // needs a real one, so the third choice scans as iOS too.
  const uint8_t platform = flags % 3 == 0 ? kPlatformAndroid : kPlatformIos;
  const uint32_t lead = input.U32() & 0xFFFF;
  test::ReadFaults faults;
  // Short reads of odd sizes, from 257 bytes up, so that reads end inside
  // windows and pages but a window never takes thousands of them.
  if ((flags & 0x08) != 0) faults.chunk = (size_t{input.Byte()} + 1) * 257;
  uint64_t failFrom = (flags & 0x10) != 0 ? input.U32() : UINT64_MAX;
  const std::vector<uint8_t> bytes = input.Rest();

  // Straddling images put the first `lead` bytes at the end of a full window
  // and the rest into a partial one, so that two threads have two windows.
  std::vector<uint8_t> image;
  if ((flags & 0x04) != 0) {
    image.assign(kFuzzWindow - std::min<size_t>({lead, bytes.size(), kFuzzWindow}), 0);
    if (failFrom != UINT64_MAX) failFrom += image.size();
  }
  image.insert(image.end(), bytes.begin(), bytes.end());
  if (failFrom < image.size()) faults.bad = {{failFrom, image.size()}};
  const std::string inOrder = Scan(image, platform, faults, 1);
  // One window is scanned on the calling thread whatever the thread count:
  // the second scan would walk the same path again.
  if (image.size() > kFuzzWindow) FUZZ_CHECK(inOrder == Scan(image, platform, faults, 2));
  return 0;
}
