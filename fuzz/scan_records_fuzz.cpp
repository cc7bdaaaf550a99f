// The whole record scan of an image held in memory, read through a source
// that may give short reads or fail from a chosen offset on, on one thread and
// on two. Both must leave the same stores, progress events and log lines.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

// Memory that reads at most `chunk` bytes per call (0: no limit) and nothing
// at or past failFrom.
class UnreliableSource final : public ImageSource {
 public:
  UnreliableSource(std::shared_ptr<const std::vector<uint8_t>> bytes, size_t chunk,
                   uint64_t failFrom)
      : bytes_(std::move(bytes)), chunk_(chunk), failFrom_(failFrom) {}
  uint64_t Size() const override { return bytes_->size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= failFrom_ || offset >= bytes_->size()) return 0;
    size_t n = static_cast<size_t>(std::min<uint64_t>(count, bytes_->size() - offset));
    if (chunk_ != 0) n = std::min(n, chunk_);
    std::copy_n(bytes_->data() + offset, n, static_cast<uint8_t*>(buffer));
    return n;
  }

 private:
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
  size_t chunk_;
  uint64_t failFrom_;
};

class Reports final : public ProgressSink, public LogSink {
 public:
  void ProgressRange(uint32_t total) override { text += "range " + std::to_string(total) + "\n"; }
  void ProgressPos(uint32_t position) override { text += "pos " + std::to_string(position) + "\n"; }
  void ProgressStep() override { text += "step\n"; }
  void ProgressText(std::u16string_view line) override { text += ToUtf8(line) + "\n"; }
  void Append(const LogEntry& entry) override {
    text += "log " + std::to_string(entry.level) + " " + ToUtf8(entry.title) + " " +
            ToUtf8(entry.text) + "\n";
  }
  std::string text;
};

struct Options {
  uint8_t platform;
  size_t chunk;
  uint64_t failFrom;
};

std::string Scan(const std::shared_ptr<const std::vector<uint8_t>>& image, const Options& options,
                 uint32_t threads) {
  Reports reports;
  ScanInput input;
  input.platform = options.platform;
  input.progress = &reports;
  input.log = &reports;
  input.imagePath = "fuzz.img";
  input.imageOpener = [&](const std::filesystem::path&) -> std::unique_ptr<ImageSource> {
    return std::make_unique<UnreliableSource>(image, options.chunk, options.failFrom);
  };
  RecordStores stores;
  const ScanResult result =
      ScanRecords(input, {kTypeSms | kTypePhoneBook | kTypeCalls, threads, true}, stores);
  FUZZ_CHECK(result.imageSize == image->size());
  return StoresText(stores, result) + reports.text;
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
  auto image = std::make_shared<std::vector<uint8_t>>();
  if (straddle) {
    const size_t before = std::min<size_t>(lead, bytes.size());
    image->assign(kWindowSize - before, 0);
    if ((flags & 0x10) != 0) options.failFrom += kWindowSize - before;
  } else if (bytes.size() > kWindowSize) {
    return 0;
  }
  image->insert(image->end(), bytes.begin(), bytes.end());

  FUZZ_CHECK(Scan(image, options, 1) == Scan(image, options, 2));
  return 0;
}

}  // namespace velkor::fuzz
