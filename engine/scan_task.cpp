#include "engine/scan_task.h"

namespace velkor {

size_t ScanTask::RecordCountForProgress() const {
  return phoneBook.size() + smsRecords.size() + callRecords.size() + contactEvents.size();
}

void ScanTask::ClearRecordStores() {
  phoneBook.clear();
  smsRecords.clear();
  callRecords.clear();
  contactEvents.clear();
  weChatRecords.clear();
  contactParts.clear();
}

}  // namespace velkor
