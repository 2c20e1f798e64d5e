// Reservations through mmap, over-reserved and trimmed to the granularity,
// with a bounded cache of released single-granule regions.
#include "platform/virtual_memory.h"

#include <sys/mman.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace zun::platform {

namespace {

std::atomic<size_t> live_regions{0};

// Only single-granule regions are cached: they are what the value heap uses.
class RegionCache {
 public:
  void* Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_ == 0 ? nullptr : regions_[--count_];
  }

  bool Put(void* region) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == regions_.size()) return false;
    regions_[count_++] = region;
    return true;
  }

  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
  }

  void Trim() {
    std::lock_guard<std::mutex> lock(mutex_);
    while (count_ != 0) munmap(regions_[--count_], kReservationGranularity);
  }

 private:
  std::mutex mutex_;
  std::array<void*, kMaxCachedRegions> regions_{};
  size_t count_ = 0;
};

RegionCache& Cache() {
  static RegionCache* cache = new RegionCache();  // outlives every static user
  return *cache;
}

void* MapAligned(size_t size) {
  const size_t span = size + kReservationGranularity;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kReservationGranularity - 1) & ~(kReservationGranularity - 1);
  const size_t head = aligned - start;
  const size_t tail = span - head - size;
  if (head != 0) munmap(raw, head);
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

void* ReserveRegion(size_t size) {
  if (size == 0 || size % kReservationGranularity != 0) return nullptr;
  void* region = size == kReservationGranularity ? Cache().Take() : nullptr;
  if (region == nullptr) region = MapAligned(size);
  if (region != nullptr) live_regions.fetch_add(1, std::memory_order_relaxed);
  return region;
}

void ReleaseRegion(void* base, size_t size) {
  if (base == nullptr) return;
  live_regions.fetch_sub(1, std::memory_order_relaxed);
  // Advising the kernel to drop a cached region's pages costs as much as
  // unmapping it (a translation flush, then faults on reuse), so cached
  // regions stay resident; the bound keeps that to a few megabytes.
  if (size == kReservationGranularity && Cache().Put(base)) return;
  munmap(base, size);
}

size_t LiveRegionCount() { return live_regions.load(std::memory_order_relaxed); }

size_t CachedRegionCount() { return Cache().Count(); }

void TrimRegionCache() { Cache().Trim(); }

}  // namespace zun::platform
