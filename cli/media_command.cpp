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
#include "engine/log_entries.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor::cli {
namespace {

constexpr const char* kUsagePictures =
    "usage: velkor pictures IMAGE [--start SECTOR] [--sectors N] [--block BYTES]\n"
    "                       [--max-size BYTES] [--formats jpg,png,psd,tif,bmp,gif|all] [--out "
    "DIR]\n";
constexpr const char* kUsageVideos =
    "usage: velkor videos IMAGE [--start SECTOR] [--sectors N] [--block BYTES]\n"
    "                     [--max-size BYTES] [--formats mp4,mov,avi,amr,mpg,mts|all] [--out DIR]\n";

struct MediaArgs {
  std::string image;
  ScanDialogFields fields;  // only the options given; the rest take defaults
  bool hasStart = false, hasSectors = false, hasBlock = false, hasMaxSize = false;
  uint32_t formats = kDefaultFormatMask;
  std::optional<std::string> out;
};

// Numbers on the command line are digits only; the scan dialog's leniency
// (stop at the first other character) would hide typing mistakes here.
bool TakeDigits(std::string_view text, std::u16string& field, bool& given) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  field = FromUtf8(text);
  given = true;
  return true;
}

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

bool ParseArgs(uint32_t mode, int argc, char** argv, MediaArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = hasValue;
    if (arg == "--start" && hasValue) {
      ok = TakeDigits(argv[++i], args.fields.position, args.hasStart);
    } else if (arg == "--sectors" && hasValue) {
      ok = TakeDigits(argv[++i], args.fields.size, args.hasSectors);
    } else if (arg == "--block" && hasValue) {
      ok = TakeDigits(argv[++i], args.fields.blockSize, args.hasBlock);
    } else if (arg == "--max-size" && hasValue) {
      ok = TakeDigits(argv[++i], args.fields.fileSize, args.hasMaxSize);
    } else if (arg == "--formats" && hasValue) {
      ok = ParseFormats(mode, argv[++i], args.formats);
    } else if (arg == "--out" && hasValue) {
      args.out = argv[++i];
      ok = !args.out->empty();
    } else {
      ok = !arg.empty() && arg[0] != '-' && args.image.empty();
      if (ok) args.image = arg;
    }
    if (!ok) return false;
  }
  return !args.image.empty();
}

// The scan dialog's fields: its defaults, overwritten by the options given.
ScanDialogFields FieldsFor(const MediaArgs& args, uint64_t imageLength) {
  ScanDialogFields fields = DefaultScanFields(imageLength);
  if (args.hasStart) fields.position = args.fields.position;
  if (args.hasSectors) fields.size = args.fields.size;
  if (args.hasBlock) fields.blockSize = args.fields.blockSize;
  if (args.hasMaxSize) fields.fileSize = args.fields.fileSize;
  return fields;
}

// Saves every found file into the folder as the desktop program's save does
// for ticked rows, without a progress line. False when any of them could not
// be written.
bool SaveAll(const ScanInput& input, const std::vector<FoundFile>& files,
             const std::string& folder) {
  ScanInput save = input;
  save.progress = nullptr;
  LogTaskEvent(save.log, kTitleSave, kLevelNormal, static_cast<int>(TaskEvent::kSaveStart),
               FromUtf8(folder));
  const std::vector<size_t> written = SaveCarvedFiles(save, files, std::filesystem::path(folder));
  LogTaskEvent(save.log, kTitleSave, kLevelNormal, static_cast<int>(TaskEvent::kSaveEnd), {});
  return written.size() == files.size();
}

}  // namespace

int RunMediaCommand(uint32_t mode, int argc, char** argv) {
  MediaArgs args;
  if (!ParseArgs(mode, argc, argv, args)) {
    std::fputs(mode == kModeVideos ? kUsageVideos : kUsagePictures, stderr);
    return 2;
  }

  ConsoleSession console;
  ScanInput input;
  console.Attach(input, args.image);
  ConsoleLog& log = console.log;
  const std::u16string imageText = PathText(input.imagePath);

  // The dialog's defaults and limits come from the image's length, so the
  // image is measured before the parameters are checked.
  const std::unique_ptr<ImageSource> image = input.imageOpener(input.imagePath);
  if (!image) {
    LogOpenFailed(&log, kTitleError, imageText, kLevelError);
    return 1;
  }
  const std::optional<MediaScanParams> params =
      ConfirmScanParams(mode, image->Size(), FieldsFor(args, image->Size()), args.formats);
  if (!params) {
    PrintText(stderr, kInvalidScanParamsText);
    std::fputc('\n', stderr);
    return 2;
  }
  if (args.out) {
    std::error_code error;
    std::filesystem::create_directories(*args.out, error);
    if (error) {
      std::fprintf(stderr, "velkor: cannot create %s: %s\n", args.out->c_str(),
                   error.message().c_str());
      return 1;
    }
  }

  LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanStart), imageText);
  input.stop = InstallStopOnInterrupt();
  CarvedFileStore found;
  if (mode == kModeVideos) {
    ScanVideos(input, *params, found);
  } else {
    ScanPictures(input, *params, found);
  }
  console.progress.Finish();
  LogTaskEvent(&log, kTitleScan, kLevelNormal, static_cast<int>(TaskEvent::kScanEnd), {});

  const std::vector<FoundFile> files = FoundFiles(found, mode);
  for (const RowTexts& row : FoundFileRows(files)) {
    PrintText(stdout, Concat({row[0], u"\t", row[1], u"\t", row[2], u"\n"}));
  }
  std::fflush(stdout);
  if (args.out && !SaveAll(input, files, *args.out)) return 1;
  return 0;
}

}  // namespace velkor::cli
