// Shared pieces of the carving tests: recorders standing in for the progress
// dialog and the log pane, and synthetic images held in memory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <tuple>
#include <vector>

#include "carving/media_scan.h"
#include "engine/image_source.h"
#include "engine/reporting.h"
#include "engine/scan_input.h"
#include "tests/carving/media_writers.h"

namespace velkor::test {

inline constexpr uint64_t kMiB = uint64_t{1} << 20;

// A fresh folder named after the running test, removed with its contents.
struct TempFolder {
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path = std::filesystem::temp_directory_path() /
           (std::string("velkor_") + info->test_suite_name() + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline Bytes ReadFile(const std::filesystem::path& path) {
  const std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

struct ProgressEvent {
  char kind;  // 'R' range, 'P' position, 'S' step
  uint32_t value;
  bool operator==(const ProgressEvent&) const = default;
};

class RecordingProgress final : public ProgressSink {
 public:
  void ProgressRange(uint32_t total) override { events.push_back({'R', total}); }
  void ProgressPos(uint32_t position) override {
    events.push_back({'P', position});
    if (onPos) onPos(position);
  }
  void ProgressStep() override { events.push_back({'S', 0}); }
  void ProgressText(std::u16string_view text) override { texts.emplace_back(text); }

  std::vector<ProgressEvent> events;
  std::vector<std::u16string> texts;
  std::function<void(uint32_t)> onPos;  // runs inside the position event
};

class RecordingLog final : public LogSink {
 public:
  void Append(const LogEntry& entry) override { entries.push_back(entry); }
  std::vector<LogEntry> entries;
};

// Bytes of an image without any file in it: every byte has its high bit set,
// and every signature holds at least one byte below 0x80 at a fixed place.
inline Bytes FillerImage(size_t size) {
  Bytes image(size);
  uint32_t state = 12345;
  for (uint8_t& byte : image) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(0x80u | (state >> 16));
  }
  return image;
}

// Copies file into image at offset; bytes past the image's end are dropped.
inline void Place(Bytes& image, uint64_t offset, const Bytes& file) {
  for (size_t i = 0; i < file.size() && offset + i < image.size(); ++i) {
    image[offset + i] = file[i];
  }
}

// Opens every path as the same bytes in memory.
inline ImageOpener MemoryOpener(Bytes image) {
  auto shared = std::make_shared<const Bytes>(std::move(image));
  return [shared](const std::filesystem::path&) -> std::unique_ptr<ImageSource> {
    return std::make_unique<MemoryImageSource>(*shared);
  };
}

// A media scan of an image in memory, reporting to the recorders.
struct ScanFixture {
  ScanFixture(Bytes image, const MediaScanParams& scanParams) : params(scanParams) {
    input.imagePath = "/images/phone.img";
    input.imageOpener = MemoryOpener(std::move(image));
    input.progress = &progress;
    input.log = &log;
    input.stop = &stop;
  }
  void Scan() {
    result = params.mode == kModeVideos ? ScanVideos(input, params, found)
                                        : ScanPictures(input, params, found);
  }
  ScanInput input;
  MediaScanParams params;
  CarvedFileStore found;
  ScanResult result;
  std::atomic<bool> stop{false};
  RecordingProgress progress;
  RecordingLog log;
};

// The block test alone, over one buffer, with the formats of params.mode.
inline void MatchModeBlocks(const MediaScanParams& params, const uint8_t* buffer, uint32_t length,
                            uint64_t base, CarvedFileStore& found) {
  MatchBlocks(MediaFormatsFor(params.mode), params, buffer, length, base, found);
}

// The store as (offset, kind, length) triples in offset order, for comparing
// with expectations written out by hand.
using Found = std::tuple<uint64_t, uint32_t, uint64_t>;
inline std::vector<Found> Listed(const CarvedFileStore& store) {
  std::vector<Found> out;
  for (const auto& [offset, file] : store) out.emplace_back(offset, file.kind, file.length);
  return out;
}

inline MediaScanParams Params(uint32_t mode, uint64_t startSector, uint64_t sectorCount,
                              uint32_t blockSize = 4096, uint32_t formats = 0x3F,
                              uint64_t maxFileSize = 104857600) {
  return {mode, startSector, sectorCount, maxFileSize, blockSize, formats};
}

}  // namespace velkor::test
