// Throughput of the record scan's inner loops on three kinds of data: all
// zeros (nothing passes the first bound), random bytes (the common case of
// a used image) and dense SQLite pages (every cell decoded and stored).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include <sqlite3.h>
#include "engine/cell_detector.h"
#include "engine/scan_task.h"

namespace velkor {
namespace {

enum DataKind { kZeros = 0, kRandom = 1, kDatabases = 2 };

// A real database of short-message rows, at least `size` bytes long.
std::vector<uint8_t> DenseDatabaseBytes(size_t size) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db,
               "CREATE TABLE sms(_id INTEGER PRIMARY KEY, thread_id INTEGER, address TEXT, "
               "person INTEGER, date INTEGER, date_sent INTEGER, protocol INTEGER, read "
               "INTEGER, status INTEGER, type INTEGER, reply_path_present INTEGER, subject "
               "TEXT, body TEXT, service_center TEXT, locked INTEGER);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO sms VALUES(NULL, ?1, '1380013' || ?1, 0, 1300000000000 + ?1, "
                     "0, 0, 1, -1, 1 + ?1 % 2, 0, NULL, 'message body number ' || ?1, NULL, 0)",
                     -1, &insert, nullptr);
  std::vector<uint8_t> bytes;
  for (int i = 0;; ++i) {
    sqlite3_bind_int(insert, 1, i);
    sqlite3_step(insert);
    sqlite3_reset(insert);
    if (i % 1000 == 999) {
      sqlite3_int64 length = 0;
      unsigned char* image = sqlite3_serialize(db, "main", &length, 0);
      if (static_cast<size_t>(length) >= size) {
        bytes.assign(image, image + length);
        sqlite3_free(image);
        break;
      }
      sqlite3_free(image);
    }
  }
  sqlite3_finalize(insert);
  sqlite3_close(db);
  return bytes;
}

std::vector<uint8_t> MakeWindow(DataKind kind) {
  std::vector<uint8_t> bytes(kWindowSize + kWindowSlack, 0);
  if (kind == kRandom) {
    std::mt19937 random(20261206);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
  } else if (kind == kDatabases) {
    const std::vector<uint8_t> pages = DenseDatabaseBytes(kWindowSize);
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
      candidate.serialTypes.clear();
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
  ScanTask task;
  FillSignatureTemplates(task.templates);
  task.fastCellTest = state.range(1) != 0;
  ScanTask::WindowScratch scratch;
  RecordBatch batch;
  for (auto _ : state) {
    // Decoding rewrites zero bytes of text fields; start from the original.
    std::copy(original.begin(), original.end(), window.begin());
    task.CollectWindowRecords(window.data(), kWindowSize, scratch, batch);
    batch.Clear();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWindowSize);
}

BENCHMARK(BM_DetectCellEveryOffset)->ArgName("zeros|random|databases")->DenseRange(0, 2);
BENCHMARK(BM_ScanWindow)
    ->ArgNames({"zeros|random|databases", "fast"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}});

}  // namespace
}  // namespace velkor

BENCHMARK_MAIN();
