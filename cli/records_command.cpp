#include "cli/records_command.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/console_reporting.h"
#include "cli/exit_status.h"
#include "cli/option_checks.h"
#include "engine/image_digest.h"
#include "engine/image_source.h"
#include "engine/log_entries.h"
#include "engine/output_file.h"
#include "engine/platform.h"
#include "engine/record_reports.h"
#include "engine/record_rows.h"
#include "engine/record_scan.h"
#include "engine/result_tabs.h"
#include "engine/scan_report.h"
#include "engine/text_export.h"

namespace velkor::cli {
namespace {

uint32_t DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : cores;
}

// Creates the folder and a file in it, so that a folder that cannot take the
// lists is named before the scan rather than after it.
bool OutputFolderWritable(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!error) {
    const std::filesystem::path probe = PartialFilePath(dir / ".velkor-write-check");
    std::FILE* file = platform::OpenForWriting(probe);
    if (file != nullptr) {
      const bool closed = std::fclose(file) == 0;
      std::filesystem::remove(probe, error);
      if (closed) return true;
    }
    error = std::error_code(errno, std::generic_category());
  }
  std::fprintf(stderr, "velkor: cannot write into %s: %s\n", platform::PathUtf8(dir).c_str(),
               error.message().c_str());
  return false;
}

// Writes the files; each that fails is named, in job order.
bool WriteJobs(std::span<const TextExportJob> jobs, uint32_t threads) {
  const std::vector<char> written = WriteTextExports(jobs, threads);
  bool ok = true;
  for (size_t k = 0; k < jobs.size(); ++k) {
    if (written[k]) continue;
    std::fprintf(stderr, "velkor: cannot write %s\n", platform::PathUtf8(jobs[k].path).c_str());
    ok = false;
  }
  return ok;
}

// The lists the record scan fills, under the names the desktop program's
// Save command suggests for them. The stores are only read, so up to threads
// threads share the rows of all lists; failures are told in list order.
bool WriteExports(const RecordStores& stores, const std::filesystem::path& dir, RowTextForm form,
                  uint32_t threads) {
  std::vector<TextExportJob> jobs;
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (!tab.filledByRecordScan) continue;
    jobs.push_back(TextListJob(dir / PathFromText(tab.exportName), RecordRowCount(stores, tab.tab),
                               tab.columns.size(),
                               [&stores, &tab, form](size_t first, size_t last, std::string& out) {
                                 AppendRecordTextRows(stores, tab.tab, first, last, form, out);
                               }));
  }
  return WriteJobs(jobs, threads);
}

bool WriteBytesFile(const std::filesystem::path& path, const std::string& bytes) {
  const bool ok = WriteWholeBytes(path, bytes);
  if (!ok) std::fprintf(stderr, "velkor: cannot write %s\n", platform::PathUtf8(path).c_str());
  return ok;
}

// The reports, written as the lists are: up to threads threads share the
// rows of all files, and no file is held as bytes all at once.
bool WriteReports(const RecordStores& stores, const std::filesystem::path& dir,
                  const RecordsArgs& args) {
  std::vector<TextExportJob> jobs;
  if (args.format == "jsonl") {
    const JsonLinesRows rows(stores);
    jobs.push_back(
        {dir / "records.jsonl", std::string(), rows.Count(),
         [&rows](size_t first, size_t last, std::string& out) { rows.Append(first, last, out); }});
    return WriteJobs(jobs, args.threads);
  }
  const RowTextForm form = args.unicode ? RowTextForm::kUnicode : RowTextForm::kCodePage;
  std::vector<CsvRows> lists;
  lists.reserve(ReportLists().size());
  for (const ReportList& list : ReportLists()) {
    const CsvRows& rows = lists.emplace_back(stores, list.tab, form);
    jobs.push_back(
        {dir / PathFromText(CsvExportName(list.tab)), rows.Head(), rows.Count(),
         [&rows](size_t first, size_t last, std::string& out) { rows.Append(first, last, out); }});
  }
  return WriteJobs(jobs, args.threads);
}

}  // namespace

uint32_t MaxThreads() {
  return 4 * DefaultThreadCount();
}

CLI::App* AddRecordsCommand(CLI::App& app, RecordsArgs& args) {
  args.threads = DefaultThreadCount();
  CLI::App* command = app.add_subcommand(
      "records",
      "Scans every byte of the image (or, on the itunes platform, every file of a backup folder in "
      "name order) for SQLite rows and writes five UTF-16 text files into DIR.");
  command->add_option("IMAGE_OR_FOLDER", args.image, "The raw image, or a backup folder")
      ->required()
      ->check(NotEmpty());
  command->add_option("--platform", args.platform, "What the image comes from")
      ->check(CLI::IsMember({"android", "ios", "itunes"}))
      ->default_str("android");
  command
      ->add_option_function<std::string>(
          "--types", [&args](const std::string& text) { ParseMask(text, args.types); },
          "Record-type mask of the task dialog: 0x1 messages, 0x2 phone book, 0x4 calls, "
          "0x40 WeChat; 0 only measures the image")
      ->check(RecordTypeMask())
      ->default_str("0x7");
  command
      ->add_option("--threads", args.threads,
                   "Windows scanned side by side; the files are the same for every count")
      ->check(ThreadCount(MaxThreads()))
      ->default_str("the number of cores");
  command->add_flag("--unicode", args.unicode,
                    "Writes the full Unicode texts instead of their code page 936 view");
  command->add_flag("--deep", args.deep,
                    "Also rebuilds deleted rows whose first four bytes SQLite overwrote when it "
                    "freed their space; they are found as \"freeblock\"");
  command
      ->add_option("--format", args.format,
                   "txt: the five UTF-16 lists; csv: five UTF-8 CSV files with each row's "
                   "offset, file, way found and the row it repeats; jsonl: records.jsonl with "
                   "the same, one object a row; csv and jsonl add report.json")
      ->check(CLI::IsMember({"txt", "csv", "jsonl"}))
      ->default_str("txt");
  command->add_flag("--no-hash", args.noHash, "Leaves the SHA-256 of the image out of report.json");
  command->add_option("--out", args.out, "Folder for the five files; created when missing")
      ->required()
      ->check(NotEmpty());
  return command;
}

int RunRecordsCommand(const RecordsArgs& args) {
  const std::filesystem::path out = platform::PathFromUtf8(args.out);
  if (!OutputFolderWritable(out)) return kExitFailed;
  ConsoleSession console;
  ScanInput input;
  console.Attach(input, platform::PathFromUtf8(args.image));
  input.platform = args.platform == "ios"      ? kPlatformIos
                   : args.platform == "itunes" ? kPlatformItunes
                                               : kPlatformAndroid;
  input.stop = InstallStopOnInterrupt();
  RecordScanOptions options;
  options.recordTypeMask = args.types;
  options.threads = args.threads;
  options.deep = args.deep;

  const bool reports = args.format != "txt";
  ImageDigest digest;
  if (reports && !args.noHash && input.platform != kPlatformItunes) {
    options.windowRead = [&digest](uint64_t offset, std::span<const uint8_t> bytes) {
      digest.AddWindow(offset, bytes);
    };
  }
  ScanReport report{"velkor",        VELKOR_VERSION, args.commandLine,
                    input.imagePath, input.platform, args.types};
  report.started = std::chrono::system_clock::now();

  RecordStores stores;
  const ScanResult result = ScanRecords(input, options, stores);
  report.ended = std::chrono::system_clock::now();
  console.progress.Finish();
  if (!result.opened) return kExitFailed;

  bool written;
  if (reports) {
    if (args.noHash) {
      report.sha256Missing = "not asked for (--no-hash)";
    } else {
      report.sha256Missing =
          DigestGap(result, input.platform, digest.Valid(), digest.BytesHashed());
      if (report.sha256Missing.empty()) report.sha256 = digest.FinishHex();
    }
    written = WriteReports(stores, out, args);
    written =
        WriteBytesFile(out / "report.json", ScanReportJson(report, result, stores)) && written;
  } else {
    written = WriteExports(
        stores, out, args.unicode ? RowTextForm::kUnicode : RowTextForm::kCodePage, args.threads);
  }
  for (const ResultTabInfo& tab : ResultTabs()) {
    if (!tab.filledByRecordScan) continue;
    PrintText(stderr, tab.treeText);
    std::fprintf(stderr, " %zu\n", RecordRowCount(stores, tab.tab));
  }
  return WorseExitStatus(ScanExitStatus(result), written ? kExitComplete : kExitFailed);
}

}  // namespace velkor::cli
