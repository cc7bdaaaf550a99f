#include "engine/unreadable_ranges.h"

#include "engine/log_entries.h"

namespace velkor {

void UnreadableRanges::AddWindow(uint64_t offset, uint64_t length,
                                 const std::vector<ByteRange>& ranges) {
  const std::vector<ByteRange> own = ClipRanges(ranges, offset, offset + length);
  bool readFailedLogged = false;
  for (const ByteRange& range : own) {
    if (open_ && open_->End() == range.offset) {
      open_->length += range.length;
      continue;
    }
    if (!readFailedLogged) {
      LogReadFailed(log_, kTitleError, PathText(file_), kLevelError, static_cast<int64_t>(offset));
      readFailedLogged = true;
    }
    Finish();
    open_ = range;
  }
}

void UnreadableRanges::Finish() {
  if (!open_) return;
  LogUnreadableRange(log_, PathText(file_), open_->offset, open_->length);
  result_.unreadable.push_back({open_->offset, open_->length, file_});
  open_.reset();
}

}  // namespace velkor
