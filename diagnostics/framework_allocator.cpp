// Framework allocation entry points: the installed hooks, or the heap itself.
#include "diagnostics/framework_allocator.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "diagnostics/allocation_tracking.h"

namespace zun {

namespace {

// A published hook set never changes and is never freed: another thread may
// still be calling through it after it was replaced. Retired sets stay linked
// so they remain reachable.
struct PublishedHooks {
  AllocationHooks hooks;
  const PublishedHooks* retired;
};

constinit const PublishedHooks kNoHooks{AllocationHooks{}, nullptr};
constinit std::atomic<const PublishedHooks*> currentHooks{&kNoHooks};
std::mutex& PublishMutex() {
  static std::mutex mutex;
  return mutex;
}

const AllocationHooks& Hooks() { return currentHooks.load(std::memory_order_acquire)->hooks; }

void EnsureTracking() {
  if (!AllocationTrackingInstalled()) InstallAllocationTracking();
}

}  // namespace

void SetAllocationHooks(const AllocationHooks& hooks) {
  std::lock_guard<std::mutex> lock(PublishMutex());
  auto* published = static_cast<PublishedHooks*>(std::malloc(sizeof(PublishedHooks)));
  if (published == nullptr) return;
  published->hooks = hooks;
  published->retired = currentHooks.load(std::memory_order_relaxed);
  currentHooks.store(published, std::memory_order_release);
}

AllocationHooks CurrentAllocationHooks() { return Hooks(); }

void* FrameworkAllocator::Allocate(size_t size) {
  EnsureTracking();
  const AllocationHooks& hooks = Hooks();
  return hooks.allocate != nullptr ? hooks.allocate(size, hooks.context) : std::malloc(size);
}

void FrameworkAllocator::Free(void* block) {
  const AllocationHooks& hooks = Hooks();
  if (hooks.free != nullptr) {
    hooks.free(block, hooks.context);
  } else {
    std::free(block);
  }
}

void* FrameworkAllocator::Reallocate(void* block, size_t size) {
  EnsureTracking();
  const AllocationHooks& hooks = Hooks();
  return hooks.reallocate != nullptr ? hooks.reallocate(block, size, hooks.context)
                                     : std::realloc(block, size);
}

char* FrameworkAllocator::DuplicateText(const char* text) {
  if (text == nullptr) return nullptr;
  EnsureTracking();
  const AllocationHooks& hooks = Hooks();
  return hooks.duplicateText != nullptr ? hooks.duplicateText(text, hooks.context) : strdup(text);
}

size_t FrameworkAllocator::Size(const void* block) {
  const AllocationHooks& hooks = Hooks();
  if (hooks.size != nullptr) return hooks.size(block, hooks.context);
  return malloc_usable_size(const_cast<void*>(block));
}

}  // namespace zun
