#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

// The one hand-over of work from a worker thread to the main thread.
//
// A worker calls RunAndWait and blocks until the main thread has run the
// call. The main thread runs pending calls from its event loop (ServePending)
// and, while it waits for a worker to end, from WaitServing: a worker that is
// blocked in a hand-over can then still finish, so the two never wait for each
// other.
class IMainThread {
public:
  virtual ~IMainThread() = default;

  // Runs call on the main thread and returns once it has run. An exception
  // thrown by call is rethrown here, on the worker. Called on the main
  // thread itself, it runs call at once. Returns false, without running
  // call, when the main thread no longer serves hand-overs (shut down).
  virtual bool RunAndWait(std::function<void()> call) = 0;

  // Main thread: runs every call handed over so far, oldest first.
  virtual void ServePending() = 0;

  // Main thread: returns once done() is true, running hand-overs meanwhile.
  // done is tested after every hand-over, after every Notify and at least
  // every 10 ms.
  virtual void WaitServing(const std::function<bool()> &done) = 0;

  // Any thread: lets a waiting WaitServing test its condition again.
  virtual void Notify() = 0;
};

// The queue behind IMainThread, shared by the program and the tests. Create
// it on the main thread; that thread is the one that serves. Destroy it only
// after every worker that may hand over has ended (Close first releases the
// workers still waiting).
class TMainThreadQueue final : public IMainThread {
public:
  TMainThreadQueue();
  ~TMainThreadQueue() override;
  TMainThreadQueue(const TMainThreadQueue &) = delete;
  TMainThreadQueue &operator=(const TMainThreadQueue &) = delete;

  bool RunAndWait(std::function<void()> call) override;
  void ServePending() override;
  void WaitServing(const std::function<bool()> &done) override;
  void Notify() override;

  // Called on the worker each time a call is queued, so the program can
  // post a ServePending to its event loop. It must not block.
  void SetWakeUp(std::function<void()> wakeUp);

  // Stops serving: calls still queued are dropped (their RunAndWait returns
  // false), later RunAndWait calls return false at once, WakeUp is no
  // longer called.
  void Close();

  std::size_t PendingCount() const;

private:
  struct TItem;
  bool RunOne(std::unique_lock<std::mutex> &lock);

  mutable std::mutex FMutex;
  std::condition_variable FMainCv;   // the main thread waits for work or a Notify
  std::condition_variable FWorkerCv; // workers wait for their call to be done
  std::deque<std::shared_ptr<TItem>> FQueue;
  std::function<void()> FWakeUp;
  std::thread::id FMainId;
  unsigned long FNotifications = 0;
  bool FClosed = false;
};

} // namespace platform
