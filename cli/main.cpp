// velkor: the command-line front end of the recovery engine.
#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "carving/carved_file.h"
#include "cli/media_command.h"
#include "cli/records_command.h"
#include "engine/platform.h"

namespace {

constexpr const char* kExitStatus =
    "Exit status: 0 when the scan ran to its end and read every byte, 1 when the image or folder "
    "cannot be opened or listed or a result cannot be written, 2 for a mistake in the command "
    "line or invalid scan parameters, 3 when Ctrl-C or SIGTERM stopped the scan (what was found "
    "is still written), 4 when the scan ended but some bytes could not be read (logged with their "
    "offsets). When several apply: 2, then 1, then 3, then 4.";

}  // namespace

int main(int argc, char** argv) {
  velkor::platform::PrepareConsole();
  // Every argument as UTF-8, so that a Chinese image name reaches the scan
  // whole on every system.
  std::vector<std::string> arguments = velkor::platform::Utf8Arguments(argc, argv);
  std::vector<char*> argumentPointers;
  for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
  argc = static_cast<int>(argumentPointers.size());
  argv = argumentPointers.data();

  CLI::App app(
      "Recovers messages, contacts, call records, WeChat messages, pictures and videos "
      "from the raw storage image of a phone.",
      "velkor");
  // Windows-style "/option" would take an image path such as /mnt/x.img for
  // an option; options are written "--option" everywhere.
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", std::string("velkor ") + VELKOR_VERSION);
  app.footer(kExitStatus);
  app.require_subcommand(1);

  velkor::cli::RecordsArgs records;
  records.commandLine.assign(argv, argv + argc);
  velkor::cli::MediaArgs pictures;
  velkor::cli::MediaArgs videos;
  CLI::App* recordsCommand = velkor::cli::AddRecordsCommand(app, records);
  CLI::App* picturesCommand = velkor::cli::AddMediaCommand(app, velkor::kModePictures, pictures);
  CLI::App* videosCommand = velkor::cli::AddMediaCommand(app, velkor::kModeVideos, videos);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version are "errors" that end the parse successfully.
    if (e.get_exit_code() == 0) return app.exit(e);
    if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-') {
      std::fprintf(stderr, "velkor: '%s' is not a command: records, pictures or videos\n", argv[1]);
      return 2;
    }
    std::string where = "velkor";
    for (const CLI::App* command : app.get_subcommands()) where += " " + command->get_name();
    std::fprintf(stderr, "%s: %s (see %s --help)\n", where.c_str(), e.what(), where.c_str());
    return 2;
  }

  if (recordsCommand->parsed()) return velkor::cli::RunRecordsCommand(records);
  if (picturesCommand->parsed()) {
    return velkor::cli::RunMediaCommand(velkor::kModePictures, pictures);
  }
  if (videosCommand->parsed()) return velkor::cli::RunMediaCommand(velkor::kModeVideos, videos);
  return 2;
}
