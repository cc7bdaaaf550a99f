// Runs a call on the thread that owns a widget. A worker thread waits until
// the call has been carried out (the desktop form of a synchronous window
// message); the owning thread itself calls straight through, so it can never
// wait on itself.
#pragma once

#include <type_traits>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace velkor {

template <typename Call>
auto RunOnOwnerThread(QObject* owner, Call call) -> std::invoke_result_t<Call> {
  using Result = std::invoke_result_t<Call>;
  if (QThread::currentThread() == owner->thread()) return call();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(owner, std::move(call), Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(owner, std::move(call), Qt::BlockingQueuedConnection, &result);
    return result;
  }
}

}  // namespace velkor
