// What the fuzz targets share: option bytes read off the front of an input,
// a check that stops the run on a broken invariant, and a scan's records as
// text so that two ways of scanning can be compared.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/record_rows.h"
#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"

// A broken invariant is a finding like a crash: libFuzzer saves the input.
#define FUZZ_CHECK(condition) \
  ((condition)                \
       ? void()               \
       : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

namespace velkor {

// Takes option bytes from the front of the input; missing bytes read as 0.
struct InputReader {
  const uint8_t* at;
  const uint8_t* end;
  uint8_t Byte() { return at == end ? 0 : *at++; }
  uint32_t U32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }
  uint64_t U64() {
    const uint64_t high = U32();
    return high << 32 | U32();
  }
  std::vector<uint8_t> Rest() { return {std::exchange(at, end), end}; }
  // The rest as UTF-16LE units, lone surrogates included; an odd byte is lost.
  std::u16string RestUnits() {
    std::u16string units;
    for (; end - at >= 2; at += 2) units.push_back(static_cast<char16_t>(at[0] | at[1] << 8));
    at = end;
    return units;
  }
};

// Every row of every record list with its full Unicode texts, one line each.
inline std::string StoresText(const RecordStores& stores) {
  std::string out;
  for (int tab = 0; tab < kTabFoundFiles; ++tab) {
    for (size_t row = 0; row < RecordRowCount(stores, tab); ++row) {
      for (const std::u16string& cell : RecordRow(stores, tab, row, RowTextForm::kUnicode)) {
        out += ToUtf8(cell) + '\x1F';
      }
      out += '\n';
    }
  }
  return out;
}

// One window's records, walked as the scan walks it: the bytes followed by
// the slack a last window has (zeros); decoding may rewrite only zero bytes
// of the window, to spaces.
inline RecordBatch WalkWindow(const std::vector<uint8_t>& bytes, uint8_t platform, bool fast,
                              bool deep) {
  std::vector<uint8_t> window(bytes);
  window.resize(bytes.size() + kWindowSlack, 0);
  WindowScratch scratch;
  RecordBatch batch;
  CollectWindowRecords(window.data(), static_cast<uint32_t>(bytes.size()), platform, fast, scratch,
                       batch, {}, 0, deep);
  for (size_t k = 0; k < window.size(); ++k) {
    const uint8_t was = k < bytes.size() ? bytes[k] : 0;
    FUZZ_CHECK(window[k] == was || (was == 0 && k < bytes.size() && window[k] == ' '));
  }
  return batch;
}

// A batch's records as the lists would show them.
inline std::string BatchText(RecordBatch batch, uint8_t platform) {
  RecordStores stores{.platform = platform};
  ContactPartMap parts;
  CommitBatch(batch, stores, parts);
  BuildPhoneBook(parts, stores.phoneBook);
  return StoresText(stores);
}

}  // namespace velkor
