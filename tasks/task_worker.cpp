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
  try {
    thread_ = std::thread([this, work = std::move(work)] {
      work();
      done_.store(true);
      QMetaObject::invokeMethod(this, &TaskWorker::OnFinished, Qt::QueuedConnection);
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void TaskWorker::OnFinished() {
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
