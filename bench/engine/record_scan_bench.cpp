// Throughput of the record scan's inner loops on three kinds of data: all
// zeros (nothing passes the first bound), random bytes (the common case of
// a used image) and dense SQLite pages (every cell decoded and stored).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench/engine/dense_database.h"
#include "engine/cell_detector.h"
#include "engine/cell_prefilter.h"
#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

enum DataKind { kZeros = 0, kRandom = 1, kDatabases = 2 };

std::vector<uint8_t> MakeWindow(DataKind kind) {
  std::vector<uint8_t> bytes(kWindowSize + kWindowSlack, 0);
  if (kind == kRandom) {
    std::mt19937 random(20261206);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
  } else if (kind == kDatabases) {
    const std::vector<uint8_t> pages = bench::DenseDatabaseBytes(kWindowSize);
    std::copy(pages.begin(), pages.begin() + std::min(pages.size(), bytes.size()), bytes.begin());
  }
  return bytes;
}

void BM_DetectCellEveryOffset(benchmark::State& state) {
  const std::vector<uint8_t> window = MakeWindow(static_cast<DataKind>(state.range(0)));
  for (auto _ : state) {
    size_t accepted = 0;
    CellCandidate candidate;
    for (uint32_t pos = 0; pos < kWindowSize; ++pos) {
      accepted +=
          DetectCell(window.data() + pos, static_cast<int32_t>(kWindowSize - pos), candidate);
    }
    benchmark::DoNotOptimize(accepted);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWindowSize);
}

void BM_ScanWindow(benchmark::State& state) {
  const std::vector<uint8_t> original = MakeWindow(static_cast<DataKind>(state.range(0)));
  std::vector<uint8_t> window = original;
  const bool fastCellTest = state.range(1) != 0;
  const bool deep = state.range(2) != 0;
  WindowScratch scratch;
  RecordBatch batch;
  for (auto _ : state) {
    // Decoding rewrites zero bytes of text fields; start from the original.
    std::copy(original.begin(), original.end(), window.begin());
    CollectWindowRecords(window.data(), kWindowSize, kPlatformAndroid, fastCellTest, scratch, batch,
                         {}, 0, deep);
    batch.Clear();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWindowSize);
}

// The prefilter alone, vector (1) or plain (0).
void BM_Prefilter(benchmark::State& state) {
  const std::vector<uint8_t> window = MakeWindow(static_cast<DataKind>(state.range(0)));
  std::vector<uint64_t> marks(PrefilterWords(kWindowSize));
  const auto mark = state.range(1) != 0 ? MarkPossibleCellStarts : MarkPossibleCellStartsPlain;
  for (auto _ : state) {
    mark(window.data(), kWindowSize, marks.data());
    benchmark::DoNotOptimize(marks.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWindowSize);
}

// The deep scan's own pass: freed cells looked for around the whole cells
// that a scan of the same window accepted.
void BM_FindFreedCells(benchmark::State& state) {
  const std::vector<uint8_t> original = MakeWindow(static_cast<DataKind>(state.range(0)));
  std::vector<uint8_t> window = original;
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(window.data(), kWindowSize, kPlatformAndroid, true, scratch, batch, {}, 0,
                       true);
  for (auto _ : state) {
    FindFreedCells(original.data(), kWindowSize, scratch.wholeCells, scratch.freed);
    benchmark::DoNotOptimize(scratch.freed.cells.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWindowSize);
}

BENCHMARK(BM_Prefilter)
    ->ArgNames({"zeros|random|databases", "vector"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}});
BENCHMARK(BM_DetectCellEveryOffset)->ArgName("zeros|random|databases")->DenseRange(0, 2);
BENCHMARK(BM_ScanWindow)
    ->ArgNames({"zeros|random|databases", "fast", "deep"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}, {0, 1}});
BENCHMARK(BM_FindFreedCells)->ArgName("zeros|random|databases")->DenseRange(0, 2);

}  // namespace
}  // namespace velkor

BENCHMARK_MAIN();
