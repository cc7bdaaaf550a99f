// The one worker thread of the long operations. Its owner starts it and is
// told on its own thread when it has ended; nobody waits for it while the
// program runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include <QObject>

namespace velkor {

class TaskWorker final : public QObject {
  Q_OBJECT

 public:
  explicit TaskWorker(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for a worker that still runs (see Wait).
  ~TaskWorker() override;

  // Runs work on a new thread. False when no thread could be started.
  bool Start(std::function<void()> work);
  bool Running() const { return thread_.joinable() && !done_.load(); }
  // Blocks until the worker has ended. The calls it makes to widgets in the
  // meantime are still carried out, so a worker waiting on one of them cannot
  // hold this up. Only for the end of the program.
  void Wait();

 signals:
  // Arrives on the owner's thread after the work has returned.
  void Finished();

 private:
  void ReportFinished(uint64_t generation);

  std::thread thread_;
  uint64_t generation_ = 0;  // of the last worker started; UI thread only
  std::atomic<bool> done_{false};
};

}  // namespace velkor
