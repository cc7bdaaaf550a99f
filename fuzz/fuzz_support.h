// What the fuzz targets share: a reader that turns the front of an input into
// options, a check that stops the run on a broken invariant, and the results
// of a scan as text so that two ways of scanning can be compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/record_batch.h"
#include "engine/record_scan.h"

namespace velkor::fuzz {

// A broken invariant is a finding like a crash: libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

// Takes option bytes from the front of the input; missing bytes read as 0.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  uint32_t U32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
    return value;
  }
  uint64_t U64() { return (uint64_t{U32()} << 32) | U32(); }
  // The next n bytes, or fewer where the input ends.
  std::vector<uint8_t> Bytes(size_t n) {
    if (n > size_) n = size_;
    std::vector<uint8_t> out(data_, data_ + n);
    data_ += n;
    size_ -= n;
    return out;
  }
  std::vector<uint8_t> Rest() { return Bytes(size_); }
  size_t Left() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
};

// The body of each target, called by libFuzzer once per input.
int FuzzOne(const uint8_t* data, size_t size);

// The records of one window of bytes (followed by the zero slack a last
// window has), walked with the prefiltered or the plain cell test and with
// or without the freed-cell rebuild. Checks that decoding rewrote only zero
// bytes of the window, to spaces, and no byte of the slack.
RecordBatch WalkWindow(const std::vector<uint8_t>& bytes, uint8_t platform, bool fastCellTest,
                       bool deep);

// Every record of a batch or of the stores, one line each, in store order.
std::string BatchText(const RecordBatch& batch);
std::string StoresText(const RecordStores& stores, const ScanResult& result);

}  // namespace velkor::fuzz
