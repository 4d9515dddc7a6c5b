// Loads the installed library as a host does and checks the table it gets.
#include <dlfcn.h>

#include <cstdio>
#include <vector>

#include "kestrel/kestrel_interface.h"
#include "kestrel/kestrel_types.h"

int main() {
  void* library = dlopen(KESTREL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "cannot load %s: %s\n", KESTREL_LIBRARY_PATH, dlerror());
    return 1;
  }
  auto init = reinterpret_cast<decltype(&KESTREL_init_module)>(dlsym(library, "KESTREL_init_module"));
  if (!init) {
    std::fprintf(stderr, "no KESTREL_init_module in %s\n", KESTREL_LIBRARY_PATH);
    return 1;
  }
  int version = 0;
  KESTREL_interface_s* table = init(&version);
  if (version != KESTREL_INTERFACE_VERSION || !table || !table->KESTREL_create_connection) {
    std::fprintf(stderr, "unexpected table (version %d)\n", version);
    return 1;
  }
  // The records of the signatures are complete types for the host.
  std::vector<ItemIdEntry> ids{{"cart-001", {"A"}}};
  std::printf("interface version %d, %zu id\n", version, ids.size());
  return 0;
}
