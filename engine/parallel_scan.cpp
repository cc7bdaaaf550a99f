#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/record_scanner.h"

namespace velkor {

// Windows are independent: each is read with its own slack, and a window's
// records depend only on its own bytes. Worker threads take windows in image
// order, read and scan them into their own slots; the calling thread hands
// the slots over to the stores strictly in window order, so every store,
// progress event and log line comes out exactly as the one-thread scan gives
// them. Invariant: window j is in slot j % slots, and a worker may start
// window j only once window j - slots has been handed over (and fed to
// windowRead, when there is one), so at most
// `slots` windows are in memory. A worker reads its window piecewise where a
// read fails and keeps the unreadable ranges in the slot; the calling thread
// reports them when it hands the slot over, so they too come in window
// order. A stop ends the hand-over; windows scanned beyond it are thrown
// away.
RecordScanner::FileScanEnd RecordScanner::ScanWindowsInParallel(ImageSource& image,
                                                                uint64_t fullWindows, uint32_t rem,
                                                                UnreadableRanges& unreadable) {
  const uint64_t jobs = fullWindows + (rem != 0 ? 1 : 0);
  const uint32_t threadCount = static_cast<uint32_t>(std::min<uint64_t>(options_.threads, jobs));
  const uint64_t slots = threadCount + 2;

  struct Slot {
    std::vector<uint8_t> buffer;
    RecordBatch batch;
    std::vector<ByteRange> holes;
    uint64_t job = 0;
    bool ready = false;
  };
  std::vector<Slot> ring(slots);
  std::mutex mutex;
  std::condition_variable changed;
  uint64_t nextJob = 0;
  uint64_t committed = 0;
  // With a windowRead callback, a feeder thread gives it the committed
  // windows in order, beside the hand-over, so that a digest of the image
  // runs on a core the scan leaves idle; a slot is free again only once fed.
  const bool feeding = static_cast<bool>(options_.windowRead);
  uint64_t fed = 0;
  bool cancelled = false;
  auto released = [&] { return feeding ? fed : committed; };

  auto work = [&] {
    WindowScratch scratch;
    for (;;) {
      uint64_t job;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock,
                     [&] { return cancelled || nextJob >= jobs || nextJob < released() + slots; });
        if (cancelled || nextJob >= jobs) return;
        job = nextJob++;
      }
      Slot& slot = ring[job % slots];
      const bool partial = job == fullWindows;
      slot.holes =
          ReadAndCollect(image, slot.buffer, job * options_.windowSize,
                         partial ? rem : options_.windowSize, partial, scratch, slot.batch);
      {
        std::lock_guard lock(mutex);
        slot.job = job;
        slot.ready = true;
      }
      changed.notify_all();
    }
  };

  // Ends once every committed window is fed and the hand-over has ended.
  auto feed = [&] {
    for (;;) {
      uint64_t job;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return fed < committed || cancelled; });
        if (fed >= committed) return;
        job = fed;
      }
      const uint32_t length = job == fullWindows ? rem : options_.windowSize;
      options_.windowRead(job * options_.windowSize, {ring[job % slots].buffer.data(), length});
      {
        std::lock_guard lock(mutex);
        fed = job + 1;
      }
      changed.notify_all();
    }
  };

  FileScanEnd end = FileScanEnd::kDone;
  {
    std::vector<std::jthread> workers;
    for (uint32_t t = 0; t < threadCount; ++t) workers.emplace_back(work);
    if (feeding) workers.emplace_back(feed);

    for (uint64_t job = 0; job < jobs; ++job) {
      const bool partial = job == fullWindows;
      if (partial && StopRequested(input_)) {
        stoppedAt_ = job * options_.windowSize;
        end = FileScanEnd::kStopped;
        break;
      }
      Slot& slot = ring[job % slots];
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return slot.ready && slot.job == job; });
      }
      CommitWindow(job * options_.windowSize, partial ? rem : options_.windowSize, slot.holes,
                   slot.batch, unreadable);
      {
        std::lock_guard lock(mutex);
        slot.ready = false;
        committed = job + 1;
      }
      changed.notify_all();
      if (!partial) {
        if (input_.progress != nullptr) input_.progress->ProgressStep();
        if (StopRequested(input_)) {
          stoppedAt_ = (job + 1) * options_.windowSize;
          end = FileScanEnd::kStopped;
          break;
        }
      }
    }
    {
      std::lock_guard lock(mutex);
      cancelled = true;
    }
    changed.notify_all();
  }  // workers joined here
  return end;
}

}  // namespace velkor
