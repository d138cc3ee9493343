// The library lock: re-entrance, hand-over in arrival order, no starvation.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "core/lock.h"

namespace {

void WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 5000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

TEST(LibraryLock, ReentersAndReleasesOnlyAtTheOutermostUnlock) {
  LibraryLock lock;
  lock.Lock();
  lock.Lock();
  lock.Lock();
  EXPECT_EQ(lock.Depth(), 3);
  std::atomic<bool> got{false};
  std::thread other([&] {
    lock.Lock();
    got = true;
    lock.Unlock();
  });
  lock.Unlock();
  lock.Unlock();
  WaitUntil([&] { return lock.WaitingCount() == 1; });
  EXPECT_FALSE(got.load());  // still held at depth 1
  lock.Unlock();
  other.join();
  EXPECT_TRUE(got.load());
  EXPECT_FALSE(lock.HeldByCurrentThread());
}

TEST(LibraryLock, UnlockByNonOwnerIsIgnored) {
  LibraryLock lock;
  lock.Lock();
  std::thread([&] { lock.Unlock(); }).join();
  EXPECT_TRUE(lock.HeldByCurrentThread());
  EXPECT_EQ(lock.Depth(), 1);
  lock.Unlock();
}

TEST(LibraryLock, WaitersGetTheLockInArrivalOrder) {
  LibraryLock lock;
  lock.Lock();
  std::mutex orderMutex;
  std::vector<int> order;
  std::vector<std::thread> threads;
  for (int i = 0; i < 6; ++i) {
    threads.emplace_back([&, i] {
      lock.Lock();
      {
        std::lock_guard<std::mutex> hold(orderMutex);
        order.push_back(i);
      }
      lock.Unlock();
    });
    // Thread i has taken its ticket before thread i + 1 starts.
    WaitUntil([&] { return lock.WaitingCount() == i + 1; });
    ASSERT_EQ(lock.WaitingCount(), i + 1);
  }
  lock.Unlock();
  for (auto& t : threads) t.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(LibraryLock, ReleaseAllAndReacquireKeepDepth) {
  LibraryLock lock;
  lock.Lock();
  lock.Lock();
  EXPECT_EQ(lock.ReleaseAll(), 2);
  EXPECT_FALSE(lock.HeldByCurrentThread());
  std::thread([&] {
    lock.Lock();
    lock.Unlock();
  }).join();  // another thread can take it meanwhile
  lock.Reacquire(2);
  EXPECT_EQ(lock.Depth(), 2);
  lock.Unlock();
  lock.Unlock();
  EXPECT_FALSE(lock.HeldByCurrentThread());
  EXPECT_EQ(lock.ReleaseAll(), 0);
}

// A thread that takes and releases the lock in a tight loop must not keep a
// waiting thread out: once the waiter holds a ticket, the busy thread finishes
// at most the turn it is in before the waiter is served.
TEST(LibraryLock, BusyThreadDoesNotStarveAWaiter) {
  LibraryLock lock;
  std::atomic<bool> stop{false};
  std::atomic<int> turnsWithWaiter{0};
  std::thread busy([&] {
    while (!stop.load()) {
      lock.Lock();
      lock.Lock();  // re-entered, as entry points nest
      if (lock.WaitingCount() > 0) turnsWithWaiter.fetch_add(1);
      lock.Unlock();
      lock.Unlock();
    }
  });
  int worstTurns = 0;
  for (int round = 0; round < 50; ++round) {
    lock.Lock();
    worstTurns = std::max(worstTurns, turnsWithWaiter.load());
    turnsWithWaiter = 0;
    lock.Unlock();
    std::this_thread::yield();
  }
  stop = true;
  busy.join();
  EXPECT_LE(worstTurns, 1);
}
