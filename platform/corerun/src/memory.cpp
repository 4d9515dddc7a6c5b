#include "corerun/memory.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "corerun/testing.h"
#include "corerun/ustring.h"

namespace {
long live_blocks = 0;

void* checked_malloc(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  ++live_blocks;
  return p;
}
}  // namespace

void* SM_alloc(std::size_t size) { return checked_malloc(size); }
void* SM_alloc_persistent(std::size_t size) { return checked_malloc(size); }

char* SM_string_copy(const char* text) {
  if (!text) return nullptr;
  std::size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(checked_malloc(n));
  std::memcpy(copy, text, n);
  return copy;
}

char* SM_string_copy_persistent(const char* text) { return SM_string_copy(text); }

void SM_free(void* pointer) {
  if (!pointer) return;
  --live_blocks;
  std::free(pointer);
}

char* SM_sprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  char* text = static_cast<char*>(checked_malloc(static_cast<std::size_t>(length > 0 ? length : 0) + 1));
  std::vsnprintf(text, static_cast<std::size_t>(length > 0 ? length : 0) + 1, format, again);
  va_end(again);
  return text;
}

namespace Orvane::Memory {
namespace {
long cpp_blocks = 0;
}
void* CppMemory::allocate(std::size_t size) {
  void* p = ::operator new(size);
  ++cpp_blocks;
  return p;
}
void CppMemory::deallocate(void* pointer) {
  if (!pointer) return;
  --cpp_blocks;
  ::operator delete(pointer);
}
}  // namespace Orvane::Memory

int STR_compare_i(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb || ca == 0) return ca - cb;
  }
}

namespace corerun::testing {
long sm_live_blocks() { return live_blocks; }
long cpp_live_blocks() { return Orvane::Memory::cpp_blocks; }
}  // namespace corerun::testing
