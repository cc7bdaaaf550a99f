// velkor pictures|videos: the signature scan of an image's sector range, and
// the saving of what it finds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "carving/scan_params.h"

namespace velkor::cli {

// The numbers stay text until the image is measured: the scan dialog's rules
// (defaults from the image's length, saturation, the range check) read them.
struct MediaArgs {
  std::string image;
  std::optional<std::string> start, sectors, block, maxSize;
  uint32_t formats = kDefaultFormatMask;
  std::optional<std::string> out;
  std::string length = "next-hit";  // next-hit, or structure: ends from each file's structure
  std::string signatures = "standard";  // or extended: also common variants
  std::string format = "tsv";  // tsv: name, offset, length by tabs; jsonl: one object a file
};

// Adds the pictures (kModePictures) or videos command to app.
CLI::App* AddMediaCommand(CLI::App& app, uint32_t mode, MediaArgs& args);

// Prints one line per found file and with --out saves them all. Exit status:
// 2 for invalid scan parameters, 1 when the image cannot be opened or a found
// file cannot be saved whole, 3 when a stop ended the scan or the save, 4
// when bytes could not be read, else 0 (cli/exit_status.h).
int RunMediaCommand(uint32_t mode, const MediaArgs& args);

}  // namespace velkor::cli
