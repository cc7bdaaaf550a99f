#pragma once

#include <cstdint>

namespace velkor::cli {

// velkor pictures|videos IMAGE [--start SECTOR] [--sectors N] [--block BYTES]
//                [--max-size BYTES] [--formats NAME,...|all] [--out DIR]
// mode is kModePictures or kModeVideos; argv[0] is the sub-command name.
// Prints one line per found file (name, offset, length, tab-separated) and
// with --out saves them all into DIR. Returns the process exit status: 2 for
// bad options or invalid scan parameters, 1 when the image cannot be opened
// or a found file cannot be saved, else 0.
int RunMediaCommand(uint32_t mode, int argc, char** argv);

}  // namespace velkor::cli
