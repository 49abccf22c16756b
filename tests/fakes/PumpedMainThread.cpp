#include "tests/fakes/PumpedMainThread.h"

#include <thread>

bool PumpedMainThread::RunAndWait(std::function<void()> call) {
  {
    std::lock_guard lock(FCountMutex);
    ++FHandOvers;
  }
  return FQueue.RunAndWait(std::move(call));
}

void PumpedMainThread::ServePending() { FQueue.ServePending(); }

void PumpedMainThread::WaitServing(const std::function<bool()> &done) { FQueue.WaitServing(done); }

void PumpedMainThread::Notify() { FQueue.Notify(); }

bool PumpedMainThread::PumpUntil(const std::function<bool()> &done,
                                 std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  FQueue.WaitServing([&] { return done() || std::chrono::steady_clock::now() >= deadline; });
  return done();
}

void PumpedMainThread::PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

std::size_t PumpedMainThread::HandOvers() const {
  std::lock_guard lock(FCountMutex);
  return FHandOvers;
}
