// Storage that fails the way real storage does, for the fault tests: image
// sources that stop reading at a chosen offset, give short reads or watch
// every read; a per-process file size limit that makes writes fail as on a
// full disk; and the command line run under such a limit.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/image_source.h"

namespace velkor::faults {

struct ReadFaults {
  // Reads starting in [failFrom, failFrom + failLength) give nothing; a read
  // running into that range stops at its start, as at a bad sector.
  uint64_t failFrom = UINT64_MAX;
  uint64_t failLength = UINT64_MAX;
  // Most bytes one read returns (0: no limit), as a pipe or network share.
  size_t chunk = 0;
  // Runs before each read, with its offset; may change the file underneath.
  std::function<void(uint64_t)> beforeRead;
};

class FaultySource final : public ImageSource {
 public:
  FaultySource(std::unique_ptr<ImageSource> inner, ReadFaults faults)
      : inner_(std::move(inner)), faults_(std::move(faults)) {}
  uint64_t Size() const override { return inner_->Size(); }
  size_t Read(uint64_t offset, void* buffer, size_t count) override;

 private:
  std::unique_ptr<ImageSource> inner_;
  ReadFaults faults_;
};

// Opens with inner, then wraps the source; null stays null.
ImageOpener FaultyOpener(ImageOpener inner, ReadFaults faults);

// While alive, no file of this process may grow past `bytes`: a write beyond
// fails with EFBIG (SIGXFSZ is ignored), as a write to a full disk fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  uint64_t soft_;
  uint64_t hard_;
  void (*oldHandler_)(int);
};

// Runs the velkor program with args, stdout and stderr into output; with a
// file size limit when fileLimit is not 0. Returns the exit status, -1 when it
// did not exit normally.
int RunVelkor(const std::vector<std::string>& args, std::string& output, uint64_t fileLimit = 0);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// The names directly inside a folder, sorted.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace velkor::faults
