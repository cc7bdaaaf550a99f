// The texts of one row of a result list, as the record rows and the
// found-files list make them.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// Declared the same way as in engine/record_rows.h, which the desktop's
// widgets do not include.
using RowTexts = std::vector<std::u16string>;

}  // namespace velkor
