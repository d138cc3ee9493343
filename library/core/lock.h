// LibraryLock: the one re-entrant lock that every library entry point and the
// message-pump thread hold while they work. Waiting threads are handed the lock
// in arrival order (a ticket lock), so a thread that re-enters thousands of
// times a frame cannot starve another.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class LibraryLock {
 public:
  void Lock();
  void Unlock();
  bool HeldByCurrentThread() const;
  int Depth() const;  // recursion depth of the owner (only meaningful for the owner)
  // Releases every level the calling thread holds and returns how many (0 when
  // it holds none); Reacquire(depth) takes it back at that depth. Used to wait
  // for another thread that needs the lock (the pump thread at the end).
  int ReleaseAll();
  void Reacquire(int depth);
  int WaitingCount() const;  // threads holding a ticket but not the lock

 private:
  std::mutex mutex_;
  std::condition_variable turn_;
  uint64_t nextTicket_ = 0;
  uint64_t nowServing_ = 0;
  std::atomic<std::thread::id> owner_{};
  int depth_ = 0;
};

extern LibraryLock g_libraryLock;

// Takes g_libraryLock for the scope: `LibraryLockGuard guard;`
class LibraryLockGuard {
 public:
  LibraryLockGuard() { g_libraryLock.Lock(); }
  ~LibraryLockGuard() { g_libraryLock.Unlock(); }
  LibraryLockGuard(const LibraryLockGuard&) = delete;
  LibraryLockGuard& operator=(const LibraryLockGuard&) = delete;
};
