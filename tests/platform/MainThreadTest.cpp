#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "platform/MainThread.h"

using namespace std::chrono_literals;
using platform::TMainThreadQueue;

TEST(MainThread, WorkerBlocksUntilTheMainThreadRanTheCall) {
  TMainThreadQueue queue;
  const auto mainId = std::this_thread::get_id();
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    EXPECT_TRUE(queue.RunAndWait([&] { ranOn = std::this_thread::get_id(); }));
    returned = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(returned); // nobody served yet
  EXPECT_EQ(queue.PendingCount(), 1u);
  queue.WaitServing([&] { return returned.load(); });
  worker.join();
  EXPECT_EQ(ranOn, mainId);
}

TEST(MainThread, AnErrorOfTheCallReachesTheWorker) {
  TMainThreadQueue queue;
  std::atomic<bool> done{false};
  std::string caught;
  std::thread worker([&] {
    try {
      queue.RunAndWait([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error &e) {
      caught = e.what();
    }
    done = true;
  });
  queue.WaitServing([&] { return done.load(); });
  worker.join();
  EXPECT_EQ(caught, "boom");
}

TEST(MainThread, OnTheMainThreadItselfTheCallRunsAtOnce) {
  TMainThreadQueue queue;
  bool ran = false;
  EXPECT_TRUE(queue.RunAndWait([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

// The program's event loop is woken once per hand-over and drains the queue.
TEST(MainThread, WakeUpIsCalledForEveryHandOver) {
  TMainThreadQueue queue;
  std::atomic<int> wakeUps{0};
  queue.SetWakeUp([&] { ++wakeUps; });
  std::atomic<bool> done{false};
  int ran = 0;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i)
      queue.RunAndWait([&] { ++ran; });
    done = true;
  });
  queue.WaitServing([&] { return done.load(); });
  worker.join();
  EXPECT_EQ(ran, 3);
  EXPECT_EQ(wakeUps, 3);
}

TEST(MainThread, CloseReleasesWaitingWorkersWithoutRunningTheirCalls) {
  TMainThreadQueue queue;
  std::atomic<int> results{-1};
  bool ran = false;
  std::thread worker([&] { results = queue.RunAndWait([&] { ran = true; }) ? 1 : 0; });
  while (queue.PendingCount() == 0)
    std::this_thread::sleep_for(1ms);
  queue.Close();
  worker.join();
  EXPECT_EQ(results, 0);
  EXPECT_FALSE(ran);
  std::thread late([&] { results = queue.RunAndWait([&] { ran = true; }) ? 1 : 0; });
  late.join();
  EXPECT_EQ(results, 0);
  EXPECT_FALSE(ran);
}

// A worker that ends only after several hand-overs: waiting for it must
// serve them, or the two would wait for each other.
TEST(MainThread, WaitServingServesTheWorkerItWaitsFor) {
  TMainThreadQueue queue;
  std::atomic<bool> finished{false};
  int served = 0;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i)
      queue.RunAndWait([&] { ++served; });
    finished = true;
    queue.Notify();
  });
  const auto start = std::chrono::steady_clock::now();
  queue.WaitServing([&] { return finished.load(); });
  worker.join();
  EXPECT_EQ(served, 5);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}
