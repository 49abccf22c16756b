#include "platform/MainThread.h"

#include <chrono>
#include <exception>

namespace platform {

struct TMainThreadQueue::TItem {
  std::function<void()> Call;
  std::exception_ptr Error;
  bool Done = false;
  bool Dropped = false;
};

TMainThreadQueue::TMainThreadQueue() : FMainId(std::this_thread::get_id()) {}

TMainThreadQueue::~TMainThreadQueue() { Close(); }

bool TMainThreadQueue::RunAndWait(std::function<void()> call) {
  if (std::this_thread::get_id() == FMainId) {
    call();
    return true;
  }
  auto item = std::make_shared<TItem>();
  item->Call = std::move(call);
  std::unique_lock lock(FMutex);
  if (FClosed)
    return false;
  FQueue.push_back(item);
  FMainCv.notify_all();
  // Under the lock, so that Close guarantees no wake-up after it returns.
  if (FWakeUp)
    FWakeUp();
  FWorkerCv.wait(lock, [&] { return item->Done || item->Dropped; });
  if (item->Dropped)
    return false;
  if (item->Error)
    std::rethrow_exception(item->Error);
  return true;
}

// Runs the oldest call without holding the lock, so that the call may itself
// hand over or serve (a nested event loop).
bool TMainThreadQueue::RunOne(std::unique_lock<std::mutex> &lock) {
  if (FQueue.empty())
    return false;
  auto item = FQueue.front();
  FQueue.pop_front();
  lock.unlock();
  try {
    item->Call();
  } catch (...) {
    item->Error = std::current_exception();
  }
  lock.lock();
  item->Done = true;
  FWorkerCv.notify_all();
  return true;
}

void TMainThreadQueue::ServePending() {
  std::unique_lock lock(FMutex);
  while (RunOne(lock)) {
  }
}

void TMainThreadQueue::WaitServing(const std::function<bool()> &done) {
  std::unique_lock lock(FMutex);
  for (;;) {
    while (RunOne(lock)) {
    }
    const auto seen = FNotifications;
    lock.unlock();
    if (done())
      return;
    lock.lock();
    FMainCv.wait_for(lock, std::chrono::milliseconds(10),
                     [&] { return !FQueue.empty() || FNotifications != seen; });
  }
}

void TMainThreadQueue::Notify() {
  std::lock_guard lock(FMutex);
  ++FNotifications;
  FMainCv.notify_all();
}

void TMainThreadQueue::SetWakeUp(std::function<void()> wakeUp) {
  std::lock_guard lock(FMutex);
  FWakeUp = std::move(wakeUp);
}

void TMainThreadQueue::Close() {
  std::lock_guard lock(FMutex);
  FClosed = true;
  FWakeUp = nullptr;
  for (auto &item : FQueue)
    item->Dropped = true;
  FQueue.clear();
  FWorkerCv.notify_all();
}

std::size_t TMainThreadQueue::PendingCount() const {
  std::lock_guard lock(FMutex);
  return FQueue.size();
}

} // namespace platform
