// Everything a record scan leaves behind, as comparable text: the progress
// events and log lines it sent, every list row, the waiting contact parts and
// the last progress text.
#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/record_rows.h"
#include "engine/scan_task.h"
#include "engine/text_format.h"
#include "tests/engine/recorder.h"

namespace velkor {

inline std::vector<std::string> Snapshot(const ScanTask& task, const Recorder& recorder) {
  std::vector<std::string> out = recorder.events;
  out.insert(out.end(), recorder.logs.begin(), recorder.logs.end());
  for (int tab : {kTabSms, kTabPhoneBook, kTabCalls, kTabAllContacts, kTabWeChat}) {
    for (size_t i = 0; i < RecordRowCount(task, tab); ++i) {
      std::string row = std::to_string(tab);
      for (const auto& cell : RecordRow(task, tab, i)) row += "|" + ToUtf8(cell);
      out.push_back(row);
    }
  }
  for (const auto& [key, part] : task.contactParts) {
    out.push_back("part " + std::to_string(key) + " " + ToUtf8(part.text));
  }
  out.push_back(ToUtf8(g_strProgress.Get()));
  return out;
}

}  // namespace velkor
