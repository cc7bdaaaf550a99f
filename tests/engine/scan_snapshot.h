// Everything a record scan leaves behind, as comparable text: the progress
// events, texts and log lines it sent, every list row and the scan result.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/test_support.h"

namespace velkor {

using test::Recorder;

inline std::vector<std::string> Snapshot(const RecordStores& task, const ScanResult& result,
                                         const Recorder& recorder) {
  std::vector<std::string> out = recorder.events;
  out.insert(out.end(), recorder.logs.begin(), recorder.logs.end());
  out.insert(out.end(), recorder.texts.begin(), recorder.texts.end());
  for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts, kTabWeChat}) {
    for (size_t i = 0; i < RecordRowCount(task, tab); ++i) {
      std::string row = std::to_string(tab);
      for (const auto& cell : RecordRow(task, tab, i)) row += "|" + ToUtf8(cell);
      out.push_back(row);
    }
  }
  out.push_back("opened " + std::to_string(result.opened) + " stopped " +
                std::to_string(result.stopped) + " size " + std::to_string(result.imageSize));
  for (const UnreadableRange& range : result.unreadable) {
    out.push_back("unreadable " + std::to_string(range.offset) + "+" +
                  std::to_string(range.length) + " " + range.file.string());
  }
  return out;
}

// Scans with a recorder attached, raising the stop flag at step number
// stopAfterSteps (-1: never), and returns the snapshot.
inline std::vector<std::string> ScanSnapshot(ScanInput input, const RecordScanOptions& options,
                                             int stopAfterSteps) {
  Recorder recorder;
  std::atomic<bool> stop{false};
  input.progress = &recorder;
  input.log = &recorder;
  input.stop = &stop;
  int steps = 0;
  recorder.onEvent = [&](const std::string&) {
    if (recorder.events.back() == "step" && ++steps == stopAfterSteps) stop = true;
  };
  RecordStores stores;
  const ScanResult result = ScanRecords(input, options, stores);
  return Snapshot(stores, result, recorder);
}

}  // namespace velkor
