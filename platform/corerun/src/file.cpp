#include "corerun/file.h"

#include <cstring>
#include <string>

#include "corerun/memory.h"
#include "corerun/testing.h"

namespace {

const char* last_separator(const char* path) {
  const char* back = std::strrchr(path, '\\');
  const char* forward = std::strrchr(path, '/');
  return back > forward ? back : forward;
}

long unique_counter = 0;
std::string next_unique_name;

}  // namespace

int CFI_get_file_type(const char* path) {
  if (!path || !*path) return CFI_FILE_TYPE_FILE;
  const char last = path[std::strlen(path) - 1];
  return last == '\\' || last == '/' ? CFI_FILE_TYPE_DIRECTORY : CFI_FILE_TYPE_FILE;
}

int CFI_split_filespec(const char* path, int type, char** directory, char** name) {
  if (directory) *directory = nullptr;
  if (name) *name = nullptr;
  if (!path) return -1;
  const char* separator = type == CFI_FILE_TYPE_DIRECTORY ? path + std::strlen(path) : last_separator(path);
  const std::size_t split = separator ? static_cast<std::size_t>(separator - path) + (*separator ? 1 : 0) : 0;
  const std::string text(path);
  if (directory) *directory = SM_string_copy(text.substr(0, split).c_str());
  if (name) *name = SM_string_copy(text.substr(split).c_str());
  return 0;
}

char* CFI_create_unique_filename() {
  if (!next_unique_name.empty()) {
    std::string name;
    name.swap(next_unique_name);
    return SM_string_copy(name.c_str());
  }
  return SM_sprintf("kfile_%08lx", ++unique_counter);
}

namespace corerun::testing {
void set_next_unique_filename(const std::string& name) { next_unique_name = name; }
}  // namespace corerun::testing
