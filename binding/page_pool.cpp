// The page pool: 64 KiB reservations split into 16 pages, handed out lowest
// first and given back to the system once all of their pages are free.
#include "binding/page_pool.h"

#include <memory>
#include <new>

#include "platform/virtual_memory.h"

namespace zun {

static_assert(BindingPagePool::kReservationSize % platform::kReservationGranularity == 0);

BindingPagePool& BindingPagePool::Process() {
  // Never destroyed: heaps of static values may still return pages at exit.
  static BindingPagePool* const pool = new BindingPagePool();
  return *pool;
}

BindingPagePool::~BindingPagePool() {
  for (auto& [base, reservation] : reservations_) {
    platform::ReleaseRegion(reinterpret_cast<void*>(base), kReservationSize);
    delete reservation;
  }
}

void* BindingPagePool::TakePage() {
  std::lock_guard<std::mutex> lock(mutex_);
  Reservation* reservation = withFreePages_.empty() ? Reserve() : *withFreePages_.begin();
  void* page = reservation->freePages.back();
  reservation->freePages.pop_back();
  if (reservation->freePages.empty()) withFreePages_.erase(reservation);
  return page;
}

void BindingPagePool::ReturnPage(void* page) {
  std::lock_guard<std::mutex> lock(mutex_);
  const uintptr_t base = reinterpret_cast<uintptr_t>(page) & ~uintptr_t{kReservationSize - 1};
  Reservation* reservation = reservations_.at(base);
  reservation->freePages.push_back(page);
  if (reservation->freePages.size() == kPagesPerReservation) {
    Release(reservation);
  } else {
    withFreePages_.insert(reservation);
  }
}

size_t BindingPagePool::ReservationCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reservations_.size();
}

size_t BindingPagePool::FreePageCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t count = 0;
  for (const Reservation* reservation : withFreePages_) count += reservation->freePages.size();
  return count;
}

BindingPagePool::Reservation* BindingPagePool::Reserve() {
  auto reservation = std::make_unique<Reservation>();
  reservation->freePages.reserve(kPagesPerReservation);
  void* region = platform::ReserveRegion(kReservationSize);
  if (region == nullptr) throw std::bad_alloc();
  reservation->base = reinterpret_cast<uintptr_t>(region);
  for (size_t i = kPagesPerReservation; i-- > 0;) {
    reservation->freePages.push_back(reinterpret_cast<void*>(reservation->base + i * kPageSize));
  }
  try {
    reservations_.emplace(reservation->base, reservation.get());
    withFreePages_.insert(reservation.get());
  } catch (...) {
    reservations_.erase(reservation->base);
    platform::ReleaseRegion(region, kReservationSize);
    throw;
  }
  return reservation.release();
}

void BindingPagePool::Release(Reservation* reservation) {
  withFreePages_.erase(reservation);
  reservations_.erase(reservation->base);
  platform::ReleaseRegion(reinterpret_cast<void*>(reservation->base), kReservationSize);
  delete reservation;
}

}  // namespace zun
