#include "cli/records_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "carving/text_export.h"
#include "cli/console_reporting.h"
#include "engine/log_entries.h"
#include "engine/record_rows.h"
#include "engine/scan_task.h"
#include "engine/text_format.h"

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

// The five lists the desktop program shows, under the names its Save command
// suggests for them.
struct ExportFile {
  int tab;
  const char* name;
};
constexpr ExportFile kExportFiles[] = {
    {kTabSms, "信息.txt"},       {kTabPhoneBook, "电话薄.txt"},
    {kTabCalls, "通话记录.txt"}, {kTabAllContacts, "其他记录.txt"},
    {kTabWeChat, "微信.txt"},
};

bool WriteExports(const ScanTask& task, const std::filesystem::path& dir) {
  bool ok = true;
  for (const ExportFile& file : kExportFiles) {
    std::vector<RowTexts> rows;
    const size_t count = RecordRowCount(task, file.tab);
    rows.reserve(count);
    for (size_t i = 0; i < count; ++i) rows.push_back(RecordRow(task, file.tab, i));
    const std::filesystem::path path = dir / file.name;
    if (!WriteTextExport(path, rows, ResultColumnHeaders(file.tab).size())) {
      std::fprintf(stderr, "velkor: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

bool ImageOpens(const RecordsArgs& args) {
  if (args.platform == kPlatformItunes) {
    std::error_code error;
    return std::filesystem::is_directory(args.image, error);
  }
  return FileImageSource::Open(args.image) != nullptr;
}

}  // namespace

int RunRecordsCommand(int argc, char** argv) {
  RecordsArgs args;
  if (!ParseArgs(argc, argv, args)) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  ConsoleSession console;
  ScanTask task;
  console.Attach(task, args.image);
  ConsoleProgress& progress = console.progress;
  ConsoleLog& log = console.log;
  task.platform = args.platform;
  task.recordTypeMask = args.types;
  task.scanThreads = args.threads;
  FillSignatureTemplates(task.templates);

  const bool opens = ImageOpens(args);
  if (!opens && args.platform == kPlatformItunes) {
    // A folder scan that cannot list its folder stays silent; say why here.
    LogOpenFailed(&log, kTitleError, task.imagePath, kLevelError);
  }
  InstallStopOnInterrupt();
  task.ScanRecords();
  progress.Finish();
  if (!opens) return 1;

  std::error_code error;
  std::filesystem::create_directories(args.out, error);
  const bool written = WriteExports(task, args.out);

  const struct {
    const char16_t* label;
    size_t count;
  } counts[] = {
      {u"短信箱", task.smsRecords.size()},    {u"电话薄", task.phoneBook.size()},
      {u"通话记录", task.callRecords.size()}, {u"所有联系", task.contactEvents.size()},
      {u"微信", task.weChatRecords.size()},
  };
  for (const auto& c : counts) {
    PrintText(stderr, c.label);
    std::fprintf(stderr, " %zu\n", c.count);
  }
  return written ? 0 : 1;
}

}  // namespace velkor::cli
