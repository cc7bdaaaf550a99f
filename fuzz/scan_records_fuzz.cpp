// The whole record scan of an image held in memory, read through a source
// that may give short reads or fail from a chosen offset on, on one thread and
// on two. Both must leave the same stores, progress events and log lines.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/record_scan.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/test_doubles.h"

namespace velkor::fuzz {
namespace {

struct Options {
  uint8_t platform;
  size_t chunk;
  uint64_t failFrom;
};

std::string Scan(const std::vector<uint8_t>& image, const Options& options, uint32_t threads) {
  test::Recorder reports;
  test::ReadFaults faults{.chunk = options.chunk};
  if (options.failFrom < image.size()) faults.bad = {{options.failFrom, image.size()}};
  ScanInput input;
  input.platform = options.platform;
  input.progress = &reports;
  input.log = &reports;
  input.imagePath = "fuzz.img";
  input.imageOpener = test::FaultyOpener(test::MemoryOpener(image), faults);
  RecordStores stores;
  const ScanResult result =
      ScanRecords(input, {kTypeSms | kTypePhoneBook | kTypeCalls, threads, true}, stores);
  FUZZ_CHECK(result.imageSize == image.size());
  std::string text = StoresText(stores, result);
  for (const auto* lines : {&reports.events, &reports.texts, &reports.logs}) {
    for (const std::string& line : *lines) text += line + "\n";
  }
  return text;
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint8_t flags = input.Byte();
  Options options{};
  // A backup folder's files are scanned as iOS images are; the folder itself
  // needs a real one, so the third choice scans as iOS too.
  options.platform = flags % 3 == 0 ? kPlatformAndroid : kPlatformIos;
  const bool straddle = (flags & 0x04) != 0;
  const uint32_t lead = input.U32() & 0xFFFF;
  // Short reads of odd sizes, from 257 bytes up, so that a window takes tens
  // to thousands of reads rather than a million.
  options.chunk = (flags & 0x08) != 0 ? (size_t{input.Byte()} + 1) * 257 : 0;
  options.failFrom = (flags & 0x10) != 0 ? input.U32() : UINT64_MAX;
  std::vector<uint8_t> bytes = input.Rest();

  // Straddling images put the first `lead` bytes at the end of a full window
  // and the rest into a partial one, so that two threads have two windows.
  std::vector<uint8_t> image;
  if (straddle) {
    const size_t before = std::min<size_t>(lead, bytes.size());
    image.assign(kWindowSize - before, 0);
    if ((flags & 0x10) != 0) options.failFrom += kWindowSize - before;
  } else if (bytes.size() > kWindowSize) {
    return 0;
  }
  image.insert(image.end(), bytes.begin(), bytes.end());

  FUZZ_CHECK(Scan(image, options, 1) == Scan(image, options, 2));
  return 0;
}

}  // namespace velkor::fuzz
