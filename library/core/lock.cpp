// The library lock: a re-entrant ticket lock.
#include "core/lock.h"

LibraryLock g_libraryLock;

void LibraryLock::Lock() {
  const std::thread::id me = std::this_thread::get_id();
  // Only the owner can have stored its own id, so this test needs no mutex.
  if (owner_.load(std::memory_order_acquire) == me) {
    ++depth_;
    return;
  }
  std::unique_lock<std::mutex> hold(mutex_);
  const uint64_t ticket = nextTicket_++;
  turn_.wait(hold, [&] { return nowServing_ == ticket; });
  owner_.store(me, std::memory_order_release);
  depth_ = 1;
}

void LibraryLock::Unlock() {
  if (owner_.load(std::memory_order_acquire) != std::this_thread::get_id()) return;
  if (--depth_ > 0) return;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    owner_.store(std::thread::id(), std::memory_order_release);
    ++nowServing_;
  }
  turn_.notify_all();
}

bool LibraryLock::HeldByCurrentThread() const {
  return owner_.load(std::memory_order_acquire) == std::this_thread::get_id();
}

int LibraryLock::Depth() const { return HeldByCurrentThread() ? depth_ : 0; }

int LibraryLock::ReleaseAll() {
  if (!HeldByCurrentThread()) return 0;
  const int depth = depth_;
  depth_ = 1;
  Unlock();
  return depth;
}

void LibraryLock::Reacquire(int depth) {
  if (depth <= 0) return;
  Lock();
  depth_ += depth - 1;
}

int LibraryLock::WaitingCount() const {
  auto* self = const_cast<LibraryLock*>(this);
  std::lock_guard<std::mutex> hold(self->mutex_);
  const uint64_t holders = owner_.load() == std::thread::id() ? 0 : 1;
  return static_cast<int>(nextTicket_ - nowServing_ - holders);
}
