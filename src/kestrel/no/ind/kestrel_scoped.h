// Small helpers both builds share: a flag held for a scope, a base-library
// string freed with SM_free, the text of a pointer that may be null, and host
// objects built on the host's CppMemory.
#pragma once

#include <memory>
#include <new>
#include <utility>

#include "corerun/memory.h"

namespace kestrel {

// Sets a flag for the length of a scope, whatever way it is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

struct SmFree {
  void operator()(char* text) const { SM_free(text); }
};
// A string of the base library's allocator, owned here.
using SmString = std::unique_ptr<char, SmFree>;

// The text, or an empty one for null.
inline const char* or_empty(const char* text) { return text ? text : ""; }

// A host object built on CppMemory memory, as the host's classes expect; the
// memory goes back should the constructor throw.
template <class T, class... Args>
T* build_on_cpp_memory(Args&&... args) {
  void* memory = Orvane::Memory::CppMemory::allocate(sizeof(T));
  try {
    return new (memory) T(std::forward<Args>(args)...);
  } catch (...) {
    Orvane::Memory::CppMemory::free(memory);
    throw;
  }
}

// Undoes build_on_cpp_memory, for an object not yet handed to the host.
template <class T>
void destroy_on_cpp_memory(T* object) {
  if (!object) return;
  object->~T();
  Orvane::Memory::CppMemory::free(object);
}

}  // namespace kestrel
