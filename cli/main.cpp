// velkor: the command-line front end of the recovery engine.
#include <cstdio>
#include <string_view>

#include "carving/carved_file.h"
#include "cli/media_command.h"
#include "cli/records_command.h"

namespace {

constexpr const char* kUsage =
    "usage: velkor records IMAGE_OR_FOLDER [--platform android|ios|itunes] [--types MASK]\n"
    "                      [--threads N] --out DIR\n"
    "       velkor pictures IMAGE [--start SECTOR] [--sectors N] [--block BYTES]\n"
    "                       [--max-size BYTES] [--formats jpg,png,psd,tif,bmp,gif|all] [--out "
    "DIR]\n"
    "       velkor videos IMAGE [--start SECTOR] [--sectors N] [--block BYTES]\n"
    "                     [--max-size BYTES] [--formats mp4,mov,avi,amr,mpg,mts|all] [--out DIR]\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string_view command = argv[1];
  if (command == "records") return velkor::cli::RunRecordsCommand(argc - 1, argv + 1);
  if (command == "pictures") {
    return velkor::cli::RunMediaCommand(velkor::kModePictures, argc - 1, argv + 1);
  }
  if (command == "videos") {
    return velkor::cli::RunMediaCommand(velkor::kModeVideos, argc - 1, argv + 1);
  }
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
