// Small helpers both builds share: a flag held for a scope, a base-library
// string freed with SM_free, and the text of a pointer that may be null.
#pragma once

#include <memory>

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

}  // namespace kestrel
