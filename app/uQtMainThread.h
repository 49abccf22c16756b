#pragma once

#include <memory>

class QObject;
namespace platform {
class TMainThreadQueue;
} // namespace platform

// The workers' hand-over queue, served by the Qt event loop of the thread
// that creates this object: a hand-over posts a queued call that drains it.
class TQtMainThread {
public:
  TQtMainThread();
  // Releases workers still waiting; calls posted but not yet run are dropped.
  ~TQtMainThread();
  TQtMainThread(const TQtMainThread &) = delete;
  TQtMainThread &operator=(const TQtMainThread &) = delete;

  platform::TMainThreadQueue &Queue() { return *FQueue; }

private:
  std::unique_ptr<platform::TMainThreadQueue> FQueue;
  // Receives the posted calls; with it gone, calls still posted are dropped.
  std::unique_ptr<QObject> FWakeContext;
};
