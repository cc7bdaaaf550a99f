#include "cli/media_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "carving/found_files.h"
#include "carving/media_scan.h"
#include "carving/media_signatures.h"
#include "carving/scan_params.h"
#include "cli/console_reporting.h"
#include "cli/exit_status.h"
#include "cli/option_checks.h"
#include "engine/log_entries.h"
#include "engine/platform.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor::cli {
namespace {

// "all", or names of the mode's formats separated by commas; an empty list
// selects none, as the dialog allows.
bool ParseFormats(uint32_t mode, std::string_view text, uint32_t& mask) {
  mask = 0;
  if (text == "all") {
    mask = kAllMediaFormats;
    return true;
  }
  if (text.empty()) return true;
  for (;;) {
    const size_t comma = text.find(',');
    const std::u16string name = FromUtf8(text.substr(0, comma));
    const MediaFormat* match = nullptr;
    for (const MediaFormat& format : MediaFormatsFor(mode)) {
      if (format.extension == name) match = &format;
    }
    if (match == nullptr) return false;
    mask |= match->bit;
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

// The scan dialog's fields: its defaults, overwritten by the options given.
// A start without a count scans from there to the image's end.
ScanDialogFields FieldsFor(const MediaArgs& args, uint64_t imageLength) {
  ScanDialogFields fields = DefaultScanFields(imageLength);
  if (args.start) fields.position = FromUtf8(*args.start);
  if (args.sectors) {
    fields.size = FromUtf8(*args.sectors);
  } else if (args.start) {
    const uint64_t sectors = imageLength / kSectorSize;
    const uint64_t start = ParseDecimalField(fields.position);
    fields.size = DecimalText(start <= sectors ? sectors - start : 0);
  }
  if (args.block) fields.blockSize = FromUtf8(*args.block);
  if (args.maxSize) fields.fileSize = FromUtf8(*args.maxSize);
  return fields;
}

// Saves every found file into the folder as the desktop program's save does
// for ticked rows, without a progress line. A Ctrl-C during the scan does not
// cancel the save of what it found; one during the save stops it after the
// current file.
int SaveAll(const ScanInput& input, const std::vector<FoundFile>& files,
            const std::filesystem::path& folder) {
  ScanInput save = input;
  save.progress = nullptr;
  LogTaskEvent(save.log, kTitleSave, kLevelNormal, static_cast<int>(TaskEvent::kSaveStart),
               PathText(folder));
  ClearStopRequest();
  size_t attempted = 0;
  const std::vector<size_t> written = SaveCarvedFiles(save, files, folder, &attempted);
  LogTaskEvent(save.log, kTitleSave, kLevelNormal, static_cast<int>(TaskEvent::kSaveEnd), {});
  const int status = written.size() == attempted ? kExitComplete : kExitFailed;
  return attempted < files.size() ? WorseExitStatus(status, kExitStopped) : status;
}

}  // namespace

CLI::App* AddMediaCommand(CLI::App& app, uint32_t mode, MediaArgs& args) {
  const bool videos = mode == kModeVideos;
  std::string names;
  for (const MediaFormat& format : MediaFormatsFor(mode)) {
    names += (names.empty() ? "" : ",") + ToUtf8(format.extension);
  }
  CLI::App* command = app.add_subcommand(
      videos ? "videos" : "pictures",
      std::string("Tests the start of every block of the sector range against the ") +
          (videos ? "video and audio" : "picture") +
          " formats' signatures and prints one line per found file: name, offset, length, "
          "tab-separated.");
  command->add_option("IMAGE", args.image, "The raw image")->required()->check(NotEmpty());
  command->add_option("--start", args.start, "First sector of the range")
      ->check(DigitsOnly())
      ->default_str("0");
  command->add_option("--sectors", args.sectors, "Sectors in the range")
      ->check(DigitsOnly())
      ->default_str("to the end of the image");
  command->add_option("--block", args.block, "Step between tested offsets, bytes")
      ->check(DigitsOnly())
      ->default_str(std::to_string(kDefaultBlockSize));
  command->add_option("--max-size", args.maxSize, "Largest length of a found file, bytes")
      ->check(DigitsOnly())
      ->default_str(std::to_string(kDefaultMaxFileSize));
  command
      ->add_option_function<std::string>(
          "--formats",
          [&args, mode](const std::string& text) { ParseFormats(mode, text, args.formats); },
          "Formats to look for, separated by commas, or all")
      ->check(CLI::Validator(
          [mode, names](std::string& text) -> std::string {
            uint32_t mask = 0;
            if (ParseFormats(mode, text, mask)) return {};
            return "'" + text + "' is not 'all' or a comma-separated list of " + names;
          },
          names + "|all"))
      ->default_str(ToUtf8(MediaFormatsFor(mode)[0].extension));
  command
      ->add_option("--length", args.length,
                   "next-hit: each file runs to the next hit (capped by --max-size and the "
                   "image end); structure: to the end its own structure gives, where a walk "
                   "of it reaches one (jsonl shows which are verified)")
      ->check(CLI::IsMember({"next-hit", "structure"}))
      ->default_str("next-hit");
  command
      ->add_option("--signatures", args.signatures,
                   "standard, or extended: also common variants (a JPEG starting FF D8 FF DB, "
                   "a paletted BMP, an MP4 with a 32-byte first box or the brand mp42, 3gp4 "
                   "or 3gp5, AMR of any mode)")
      ->check(CLI::IsMember({"standard", "extended"}))
      ->default_str("standard");
  command
      ->add_option("--format", args.format,
                   "tsv: name, offset and length by tabs; jsonl: one JSON object a file "
                   "(name, offset, length, format)")
      ->check(CLI::IsMember({"tsv", "jsonl"}))
      ->default_str("tsv");
  command->add_option("--out", args.out, "Copy every found file into this folder")
      ->check(NotEmpty());
  return command;
}

int RunMediaCommand(uint32_t mode, const MediaArgs& args) {
  ConsoleSession console;
  ScanInput input;
  console.Attach(input, platform::PathFromUtf8(args.image));
  ConsoleLog& log = console.log;
  const std::u16string imageText = PathText(input.imagePath);

  // The dialog's defaults and limits come from the image's length, so the
  // image is measured before the parameters are checked.
  const std::unique_ptr<ImageSource> image = input.imageOpener(input.imagePath);
  if (!image) {
    LogOpenFailed(&log, kTitleError, imageText, kLevelError);
    return kExitFailed;
  }
  // An empty image holds no file; no range of it can be wrong.
  if (image->Size() == 0) {
    LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanStart),
                 imageText);
    LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanEnd), {});
    return kExitComplete;
  }
  std::optional<MediaScanParams> params =
      ConfirmScanParams(mode, image->Size(), FieldsFor(args, image->Size()), args.formats);
  if (!params) {
    PrintText(stderr, kInvalidScanParamsText);
    std::fputc('\n', stderr);
    return kExitMistake;
  }
  params->structureLengths = args.length == "structure";
  params->extendedSignatures = args.signatures == "extended";
  const std::filesystem::path out = platform::PathFromUtf8(args.out.value_or(std::string()));
  if (args.out) {
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
      std::fprintf(stderr, "velkor: cannot create %s: %s\n", platform::PathUtf8(out).c_str(),
                   error.message().c_str());
      return kExitFailed;
    }
  }

  LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanStart), imageText);
  input.stop = InstallStopOnInterrupt();
  CarvedFileStore found;
  const ScanResult result =
      mode == kModeVideos ? ScanVideos(input, *params, found) : ScanPictures(input, *params, found);
  console.progress.Finish();
  LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanEnd), {});

  const std::vector<FoundFile> files = FoundFiles(found, mode);
  if (args.format == "jsonl") {
    for (const FoundFile& file : files) {
      std::string line = FoundFileJson(file, mode);
      line += '\n';
      std::fwrite(line.data(), 1, line.size(), stdout);
    }
  } else {
    for (const RowTexts& row : FoundFileRows(files)) {
      PrintText(stdout, Concat({row[0], u"\t", row[1], u"\t", row[2], u"\n"}));
    }
  }
  std::fflush(stdout);
  const int scanStatus = ScanExitStatus(result);
  return args.out ? WorseExitStatus(scanStatus, SaveAll(input, files, out)) : scanStatus;
}

}  // namespace velkor::cli
