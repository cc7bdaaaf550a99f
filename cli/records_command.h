#pragma once

namespace velkor::cli {

// velkor records IMAGE_OR_FOLDER [--platform android|ios|itunes]
//                [--types MASK] --out DIR
// argv[0] is "records". Returns the process exit status.
int RunRecordsCommand(int argc, char** argv);

}  // namespace velkor::cli
