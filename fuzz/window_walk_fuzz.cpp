// One window walked, decoded, classified and extracted on each platform, with
// the prefiltered and the plain cell test. The two tests must give the same
// records; decoding may rewrite only zero bytes of the window (to spaces).
#include <cstdint>
#include <vector>

#include "engine/scan_task.h"
#include "engine/signature_templates.h"
#include "fuzz/fuzz_support.h"

namespace velkor::fuzz {
namespace {

const ScanTask& TaskFor(uint8_t platform, bool fastCellTest) {
  static ScanTask tasks[3][2];
  static bool filled = false;
  if (!filled) {
    for (auto& row : tasks) {
      for (ScanTask& task : row) FillSignatureTemplates(task.templates);
    }
    for (uint8_t p = 0; p < 3; ++p) {
      tasks[p][0].platform = tasks[p][1].platform = p;
      tasks[p][0].fastCellTest = false;
      tasks[p][1].fastCellTest = true;
    }
    filled = true;
  }
  return tasks[platform][fastCellTest ? 1 : 0];
}

std::string Walk(const std::vector<uint8_t>& bytes, uint8_t platform, bool fast) {
  // The scanned bytes followed by the slack a last window has: zeros.
  std::vector<uint8_t> window(bytes);
  window.resize(bytes.size() + kWindowSlack, 0);
  ScanTask::WindowScratch scratch;
  RecordBatch batch;
  TaskFor(platform, fast)
      .CollectWindowRecords(window.data(), static_cast<uint32_t>(bytes.size()), scratch, batch);
  for (size_t k = 0; k < bytes.size(); ++k) {
    FUZZ_CHECK(window[k] == bytes[k] || (bytes[k] == 0 && window[k] == ' '));
  }
  for (size_t k = bytes.size(); k < window.size(); ++k) FUZZ_CHECK(window[k] == 0);
  return BatchText(batch);
}

}  // namespace

int FuzzOne(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  const uint8_t platform = input.Byte() % 3;
  const std::vector<uint8_t> bytes = input.Rest();
  if (bytes.size() > kWindowSize) return 0;
  FUZZ_CHECK(Walk(bytes, platform, true) == Walk(bytes, platform, false));
  return 0;
}

}  // namespace velkor::fuzz
