// report.json: what a record scan was asked, what it read and found, for the
// examiner's file beside the exported lists.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_scan.h"

namespace velkor {

struct ScanReport {
  std::string program;  // "velkor" or the desktop program's name
  std::string version;
  std::vector<std::string> commandLine;  // empty for the desktop program
  std::filesystem::path image;           // image file or backup folder
  uint8_t platform = kPlatformAndroid;
  uint32_t recordTypes = 0;
  std::chrono::system_clock::time_point started{};
  std::chrono::system_clock::time_point ended{};
  // Lowercase hex of the image's SHA-256; empty when it was not asked for or
  // does not cover every byte of the image, and then sha256Missing says why.
  std::string sha256{};
  std::string sha256Missing{};
};

// Why a digest fed through RecordScanOptions::windowRead does not stand for
// the image: empty when it does.
std::string DigestGap(const ScanResult& result, uint8_t platform, bool digestValid,
                      uint64_t bytesHashed);

// The report as pretty-printed UTF-8 JSON: program, version, command_line,
// image {path, size}, platform, record_types, started_utc, ended_utc,
// outcome ("complete", "stopped", "unreadable", "not opened"), unreadable
// [{offset, length, file}], counts per list, sha256 (hex or null) and
// sha256_missing.
std::string ScanReportJson(const ScanReport& report, const ScanResult& result,
                           const RecordStores& stores);

}  // namespace velkor
