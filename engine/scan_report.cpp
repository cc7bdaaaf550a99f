#include "engine/scan_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "engine/image_source.h"
#include "engine/record_reports.h"
#include "engine/record_rows.h"
#include "engine/record_time.h"
#include "engine/text_codec.h"

namespace velkor {
namespace {

std::string PathUtf8(const std::filesystem::path& path) {
  return ToUtf8(PathText(path));
}

std::string UtcText(std::chrono::system_clock::time_point when) {
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch()).count();
  return IsoUtcTime(static_cast<uint32_t>(seconds));
}

const char* PlatformName(uint8_t platform) {
  switch (platform) {
    case kPlatformIos:
      return "ios";
    case kPlatformItunes:
      return "itunes";
    default:
      return "android";
  }
}

const char* Outcome(const ScanResult& result) {
  if (!result.opened) return "not opened";
  if (result.stopped) return "stopped";
  if (!result.unreadable.empty() || result.listingCut) return "unreadable";
  return "complete";
}

}  // namespace

std::string DigestGap(const ScanResult& result, uint8_t platform, bool digestValid,
                      uint64_t bytesHashed) {
  if (platform == kPlatformItunes) return "a backup folder has no single image to hash";
  if (!result.opened) return "the image could not be opened";
  if (result.stopped) return "the scan was stopped before the end of the image";
  if (!result.unreadable.empty()) return "some bytes of the image could not be read";
  if (!digestValid || bytesHashed != result.imageSize) return "the scan did not read every byte";
  return {};
}

std::string ScanReportJson(const ScanReport& report, const ScanResult& result,
                           const RecordStores& stores) {
  using Json = nlohmann::ordered_json;
  Json json;
  json["program"] = report.program;
  json["version"] = report.version;
  json["command_line"] = report.commandLine;
  json["image"] = {{"path", PathUtf8(report.image)}, {"size", result.imageSize}};
  json["platform"] = PlatformName(report.platform);
  char types[16];
  std::snprintf(types, sizeof types, "0x%x", report.recordTypes);
  json["record_types"] = types;
  json["started_utc"] = UtcText(report.started);
  json["ended_utc"] = UtcText(report.ended);
  json["outcome"] = Outcome(result);
  json["listing_cut"] = result.listingCut;
  Json unreadable = Json::array();
  for (const UnreadableRange& range : result.unreadable) {
    unreadable.push_back({{"offset", range.offset},
                          {"length", range.length},
                          {"file", PathUtf8(range.file)}});
  }
  json["unreadable"] = std::move(unreadable);
  Json counts = Json::object();
  for (const ReportList& list : ReportLists())
    counts[std::string(list.name)] = RecordRowCount(stores, list.tab);
  json["counts"] = std::move(counts);
  if (report.sha256.empty()) {
    json["sha256"] = nullptr;
    json["sha256_missing"] = report.sha256Missing;
  } else {
    json["sha256"] = report.sha256;
    json["sha256_missing"] = nullptr;
  }
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace velkor
