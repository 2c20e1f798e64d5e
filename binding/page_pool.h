// The process-wide pool of 4 KiB pages behind every value heap's block
// allocator; pages come from 64 KiB operating-system reservations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

namespace zun {

// Thread-safe: taking and returning a page hold the pool's one mutex for the
// whole operation, including the reservation or release with the system.
// A reservation goes back to the system as soon as all of its pages are free.
class BindingPagePool {
 public:
  static constexpr size_t kPageSize = 4096;
  static constexpr size_t kPagesPerReservation = 16;
  static constexpr size_t kReservationSize = kPageSize * kPagesPerReservation;

  // The pool of the process, created on first use and never destroyed.
  [[nodiscard]] static BindingPagePool& Process();

  // A pool of its own (tests). Every page must have been returned before it
  // is destroyed.
  BindingPagePool() = default;
  ~BindingPagePool();
  BindingPagePool(const BindingPagePool&) = delete;
  BindingPagePool& operator=(const BindingPagePool&) = delete;

  // A page aligned to kPageSize, lowest free address of the lowest
  // reservation first. Throws std::bad_alloc when the system refuses memory.
  [[nodiscard]] void* TakePage();
  // Gives back a page obtained from TakePage of this pool.
  void ReturnPage(void* page);

  [[nodiscard]] size_t ReservationCount() const;
  [[nodiscard]] size_t FreePageCount() const;

 private:
  struct Reservation {
    uintptr_t base;
    std::vector<void*> freePages;  // descending addresses: the lowest is popped first
  };
  struct ByBase {
    bool operator()(const Reservation* a, const Reservation* b) const { return a->base < b->base; }
  };

  Reservation* Reserve();
  void Release(Reservation* reservation);

  mutable std::mutex mutex_;
  std::unordered_map<uintptr_t, Reservation*> reservations_;  // keyed by base address
  std::set<Reservation*, ByBase> withFreePages_;
};

}  // namespace zun
