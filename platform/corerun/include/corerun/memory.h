// Base library: memory that the host frees with SM_free.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

void* SM_alloc(std::size_t size);
void* SM_alloc_persistent(std::size_t size);
char* SM_string_copy(const char* text);
char* SM_string_copy_persistent(const char* text);
void SM_free(void* pointer);

namespace Orvane::Memory {

// Memory for host objects that the library builds itself.
struct CppMemory {
  static void* allocate(std::size_t size);
  static void deallocate(void* pointer);
  // The host's name for deallocate.
  static void free(void* pointer) { deallocate(pointer); }
};

// Allocator of host lists whose memory is CppMemory's.
template <class T>
struct CppMemoryAllocator {
  using value_type = T;
  CppMemoryAllocator() noexcept = default;
  template <class U>
  CppMemoryAllocator(const CppMemoryAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(CppMemory::allocate(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t) noexcept { CppMemory::deallocate(p); }
  template <class U>
  bool operator==(const CppMemoryAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const CppMemoryAllocator<U>&) const noexcept {
    return false;
  }
};

}  // namespace Orvane::Memory

// Allocator of the host's lists.
template <class T>
struct SMAlloc {
  using value_type = T;
  SMAlloc() noexcept = default;
  template <class U>
  SMAlloc(const SMAlloc<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(SM_alloc(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t) noexcept { SM_free(p); }
  template <class U>
  bool operator==(const SMAlloc<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const SMAlloc<U>&) const noexcept {
    return false;
  }
};
