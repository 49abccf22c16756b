#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>

#include "platform/MainThread.h"

// The main thread of a test: the test's own thread, which serves the
// workers' hand-overs only when the test pumps. Create it on the test thread.
class PumpedMainThread final : public platform::IMainThread {
public:
  bool RunAndWait(std::function<void()> call) override;
  void ServePending() override;
  void WaitServing(const std::function<bool()> &done) override;
  void Notify() override;

  // Serves hand-overs until done() is true or the time is up; returns done().
  bool PumpUntil(const std::function<bool()> &done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Serves hand-overs for a while.
  void PumpFor(std::chrono::milliseconds time);

  std::size_t PendingCount() const { return FQueue.PendingCount(); }
  // Hand-overs handed in so far.
  std::size_t HandOvers() const;
  void Close() { FQueue.Close(); }

private:
  platform::TMainThreadQueue FQueue;
  mutable std::mutex FCountMutex;
  std::size_t FHandOvers = 0;
};
