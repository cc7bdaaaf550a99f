#include "engine/app_state.h"

#include <utility>

std::atomic<int> g_bStop{0};
std::atomic<int> g_bBusy{0};
velkor::ProgressText g_strProgress;

namespace velkor {

void ProgressText::Set(std::u16string text) {
  std::lock_guard lock(mutex_);
  text_ = std::move(text);
}

std::u16string ProgressText::Get() const {
  std::lock_guard lock(mutex_);
  return text_;
}

}  // namespace velkor
