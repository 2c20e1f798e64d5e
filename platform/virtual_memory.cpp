// Reservations through mmap, over-reserved and trimmed to the granularity.
#include "platform/virtual_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>

namespace zun::platform {

namespace {
std::atomic<size_t> live_regions{0};
}

void* ReserveRegion(size_t size) {
  if (size == 0 || size % kReservationGranularity != 0) return nullptr;
  const size_t span = size + kReservationGranularity;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kReservationGranularity - 1) & ~(kReservationGranularity - 1);
  const size_t head = aligned - start;
  const size_t tail = span - head - size;
  if (head != 0) munmap(raw, head);
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  live_regions.fetch_add(1, std::memory_order_relaxed);
  return reinterpret_cast<void*>(aligned);
}

void ReleaseRegion(void* base, size_t size) {
  if (base == nullptr) return;
  munmap(base, size);
  live_regions.fetch_sub(1, std::memory_order_relaxed);
}

size_t LiveRegionCount() { return live_regions.load(std::memory_order_relaxed); }

}  // namespace zun::platform
