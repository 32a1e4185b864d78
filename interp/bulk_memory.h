// Memory for the interpreter's tables that may grow to many megabytes (the
// code records, their texts, the run-time stack). Such a block is mapped on
// its own and, on Linux, offered huge pages: a large table is then made of
// a few page faults instead of thousands, which is most of its cost on some
// machines. Smaller blocks come from operator new as usual.
#pragma once

#include <cstddef>
#include <new>

// At least bytes bytes, suitably aligned for any type; throws std::bad_alloc
// as operator new does when no memory is left.
void* bulkAllocate(std::size_t bytes);
// Returns a block from bulkAllocate of the same size.
void bulkFree(void* block, std::size_t bytes) noexcept;

template <typename T>
class BulkAllocator {
 public:
  using value_type = T;
  BulkAllocator() = default;
  template <typename U>
  BulkAllocator(const BulkAllocator<U>&) noexcept {}
  T* allocate(std::size_t count) { return static_cast<T*>(bulkAllocate(count * sizeof(T))); }
  void deallocate(T* block, std::size_t count) noexcept { bulkFree(block, count * sizeof(T)); }
  template <typename U>
  bool operator==(const BulkAllocator<U>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const BulkAllocator<U>&) const noexcept {
    return false;
  }
};
