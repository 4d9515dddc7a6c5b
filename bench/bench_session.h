// The session every benchmark opens: the table, given to the host as its
// interface, connected and logged in to the sample server at `host`.
#pragma once

#include "kestrel/kestrel_interface.h"
#include "objmodel/SoaManager.h"

namespace bench {

inline const KESTREL_interface_s* open_session(const char* host) {
  int version = 0;
  const KESTREL_interface_s* table = KESTREL_init_module(&version);
  Orvane::PdmSoa::SoaManager::SetSoaInterface(table);
  table->KESTREL_create_connection(host, "HTTP", "engineer", "secret", "Engineering", "Designer", "", false);
  table->KESTREL_login("engineer", "secret", true);
  return table;
}

}  // namespace bench
