#include "cli/records_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "cli/console_reporting.h"
#include "engine/image_source.h"
#include "engine/log_entries.h"
#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/result_tabs.h"
#include "engine/text_export.h"

namespace velkor::cli {
namespace {

constexpr const char* kUsage =
    "usage: velkor records IMAGE_OR_FOLDER [--platform android|ios|itunes] [--types MASK] "
    "[--threads N] --out DIR\n";

uint32_t DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : cores;
}

struct RecordsArgs {
  std::string image;
  uint8_t platform = kPlatformAndroid;
  uint32_t types = kTypeSms | kTypePhoneBook | kTypeCalls;  // as the task dialog starts
  std::string out;
  uint32_t threads = DefaultThreadCount();
};

bool ParseMask(std::string_view text, uint32_t& mask) {
  if (text.empty()) return false;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    if (digit >= base) return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return false;
  }
  mask = static_cast<uint32_t>(value);
  return true;
}

bool ParseArgs(int argc, char** argv, RecordsArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--platform" && hasValue) {
      const std::string_view value = argv[++i];
      if (value == "android") {
        args.platform = kPlatformAndroid;
      } else if (value == "ios") {
        args.platform = kPlatformIos;
      } else if (value == "itunes") {
        args.platform = kPlatformItunes;
      } else {
        return false;
      }
    } else if (arg == "--types" && hasValue) {
      if (!ParseMask(argv[++i], args.types)) return false;
    } else if (arg == "--threads" && hasValue) {
      uint32_t threads = 0;
      const std::string_view value = argv[++i];
      if (value.empty() || value.size() > 3 || value[0] == '0' || !ParseMask(value, threads)) {
        return false;
      }
      args.threads = threads;
    } else if (arg == "--out" && hasValue) {
      args.out = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && args.image.empty()) {
      args.image = arg;
    } else {
      return false;
    }
  }
  return !args.image.empty() && !args.out.empty();
}

// The lists the record scan fills, under the names the desktop program's
// Save command suggests for them.
bool WriteExports(const RecordStores& stores, const std::filesystem::path& dir) {
  bool ok = true;
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (!tab.filledByRecordScan) continue;
    std::vector<RowTexts> rows;
    const size_t count = RecordRowCount(stores, tab.tab);
    rows.reserve(count);
    for (size_t i = 0; i < count; ++i) rows.push_back(RecordRow(stores, tab.tab, i));
    const std::filesystem::path path = dir / PathFromText(tab.exportName);
    if (!WriteTextExport(path, rows, tab.columns.size())) {
      std::fprintf(stderr, "velkor: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int RunRecordsCommand(int argc, char** argv) {
  RecordsArgs args;
  if (!ParseArgs(argc, argv, args)) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  ConsoleSession console;
  ScanInput input;
  console.Attach(input, args.image);
  input.platform = args.platform;
  input.stop = InstallStopOnInterrupt();
  RecordScanOptions options;
  options.recordTypeMask = args.types;
  options.threads = args.threads;

  RecordStores stores;
  const ScanResult result = ScanRecords(input, options, stores);
  console.progress.Finish();
  if (!result.opened) {
    // A folder scan that cannot list its folder stays silent; say why here.
    if (args.platform == kPlatformItunes) {
      LogOpenFailed(&console.log, kTitleError, PathText(input.imagePath), kLevelError);
    }
    return 1;
  }

  std::error_code error;
  std::filesystem::create_directories(args.out, error);
  const bool written = WriteExports(stores, args.out);
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (!tab.filledByRecordScan) continue;
    PrintText(stderr, tab.treeText);
    std::fprintf(stderr, " %zu\n", RecordRowCount(stores, tab.tab));
  }
  return written ? 0 : 1;
}

}  // namespace velkor::cli
