#include "tasks/task_worker.h"

#include <system_error>

#include <QEventLoop>
#include <QMetaObject>

namespace velkor {

TaskWorker::~TaskWorker() {
  Wait();
}

bool TaskWorker::Start(std::function<void()> work) {
  // A worker that has ended but whose notice has not arrived yet is joined
  // here; that takes no time.
  if (thread_.joinable()) {
    if (!done_.load()) return false;
    thread_.join();
  }
  done_.store(false);
  const uint64_t generation = ++generation_;
  try {
    thread_ = std::thread([this, work = std::move(work), generation] {
      work();
      done_.store(true);
      QMetaObject::invokeMethod(
          this, [this, generation] { ReportFinished(generation); }, Qt::QueuedConnection);
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

// A notice can arrive after the next worker has started (a command taken
// between the end of the work and the notice); it then speaks of a worker
// that is gone, and the running one has not finished.
void TaskWorker::ReportFinished(uint64_t generation) {
  if (generation != generation_) return;
  if (thread_.joinable() && done_.load()) thread_.join();
  emit Finished();
}

void TaskWorker::Wait() {
  // The worker's blocking calls into widgets are queued to this thread, so
  // they are carried out here until the worker has ended.
  QEventLoop loop;
  while (thread_.joinable() && !done_.load()) loop.processEvents(QEventLoop::WaitForMoreEvents);
  if (thread_.joinable()) thread_.join();
}

}  // namespace velkor
