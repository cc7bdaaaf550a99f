// velkor records: the record scan of an image or a backup folder, written as
// the five UTF-16 lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "engine/record_scan.h"

namespace velkor::cli {

// More would only cost memory: each thread holds windows in flight. Four
// per core leaves room for storage that keeps threads waiting.
uint32_t MaxThreads();

struct RecordsArgs {
  std::string image;
  std::string platform = "android";
  uint32_t types = kTypeSms | kTypePhoneBook | kTypeCalls;  // as the task dialog starts
  uint32_t threads = 1;
  std::string out;
  bool unicode = false;  // the lists with the full Unicode texts
  bool deep = false;     // also rows rebuilt from freed cells (RecordScanOptions::deep)
  std::string format = "txt";  // txt: the five UTF-16 lists; csv, jsonl: reports
  bool noHash = false;         // no SHA-256 of the image in report.json
  std::vector<std::string> commandLine;  // for report.json
};

// Adds the records command and its options to app, filling args when parsed.
CLI::App* AddRecordsCommand(CLI::App& app, RecordsArgs& args);

// Checks that the output folder can be written, scans and writes the lists
// (txt), or the CSV files or records.jsonl with report.json (csv, jsonl).
// Exit status: 0 after a complete scan, 1 when the image or folder cannot be
// opened or listed, or the output folder or a list cannot be written, 3 when
// a stop ended the scan, 4 when bytes could not be read (cli/exit_status.h).
int RunRecordsCommand(const RecordsArgs& args);

}  // namespace velkor::cli
