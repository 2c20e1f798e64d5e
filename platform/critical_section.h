// Recursive critical section: the lock every framework component uses.
// A thread that holds it may enter it again (a log target that logs from its
// own write must not deadlock).
#pragma once

#include <mutex>

namespace zun::platform {

class CriticalSection {
 public:
  CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  [[nodiscard]] bool TryEnter() { return mutex_.try_lock(); }

  // Lets std::lock_guard / std::unique_lock work on it.
  void lock() { Enter(); }
  void unlock() { Leave(); }
  [[nodiscard]] bool try_lock() { return TryEnter(); }

 private:
  std::recursive_mutex mutex_;
};

using CriticalSectionGuard = std::lock_guard<CriticalSection>;

}  // namespace zun::platform
