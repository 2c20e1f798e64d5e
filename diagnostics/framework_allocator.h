// The framework's allocation entry points and their replaceable hooks. Memory
// that crosses to the core is allocated and released only through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "diagnostics/allocation_counters.h"

namespace zun {

// Five replaceable operations and the context handed to each. An absent hook
// falls back to the standard heap function of the same kind.
struct AllocationHooks {
  void* (*allocate)(size_t size, void* context) = nullptr;
  void (*free)(void* block, void* context) = nullptr;
  void* (*reallocate)(void* block, size_t size, void* context) = nullptr;
  char* (*duplicateText)(const char* text, void* context) = nullptr;
  size_t (*size)(const void* block, void* context) = nullptr;
  void* context = nullptr;
};

// Replaces all six at once: a concurrent call sees either the old set or the
// new one, never a mix.
void SetAllocationHooks(const AllocationHooks& hooks);
[[nodiscard]] AllocationHooks CurrentAllocationHooks();

struct FrameworkAllocator {
  // Null when the heap refuses. The first allocating call installs the
  // counting hooks.
  [[nodiscard]] static void* Allocate(size_t size);
  // Null is accepted and ignored.
  static void Free(void* block);
  // Null block: a fresh allocation. Null result: the old block is untouched.
  [[nodiscard]] static void* Reallocate(void* block, size_t size);
  // A copy of a NUL-terminated text; null for a null text or a refused copy.
  [[nodiscard]] static char* DuplicateText(const char* text);
  // The usable size of a block, which may exceed the size requested.
  [[nodiscard]] static size_t Size(const void* block);
};

// Constructs a T in framework memory; null when the memory is refused.
template <class T, class... A>
[[nodiscard]] T* FrameworkNew(A&&... arguments) {
  static_assert(alignof(T) <= alignof(std::max_align_t), "the heap aligns to max_align_t only");
  void* block = FrameworkAllocator::Allocate(sizeof(T));
  if (block == nullptr) return nullptr;
  return new (block) T(std::forward<A>(arguments)...);
}

// Destroys an object made with FrameworkNew, also through a pointer to a
// polymorphic base.
template <class T>
void FrameworkDelete(T* object) {
  if (object == nullptr) return;
  void* block = nullptr;
  if constexpr (std::is_polymorphic_v<T>) {
    block = dynamic_cast<void*>(object);
  } else {
    block = object;
  }
  object->~T();
  FrameworkAllocator::Free(block);
}

// A standard-library allocator over the framework's entry points.
template <class T>
struct FrameworkStdAllocator {
  using value_type = T;
  FrameworkStdAllocator() = default;
  template <class U>
  explicit FrameworkStdAllocator(const FrameworkStdAllocator<U>&) {}
  [[nodiscard]] T* allocate(size_t count) {
    void* block = FrameworkAllocator::Allocate(count * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t) { FrameworkAllocator::Free(block); }
  template <class U>
  bool operator==(const FrameworkStdAllocator<U>&) const {
    return true;
  }
};

}  // namespace zun
