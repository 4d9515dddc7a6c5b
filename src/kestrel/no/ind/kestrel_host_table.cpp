#include "kestrel_host_table.h"

#include "kestrel/kestrel_interface.h"
#include "objmodel/SoaManager.h"

namespace kestrel {

ConstructObject host_construct_object() {
  const KESTREL_interface_s* table = Orvane::PdmSoa::SoaManager::GetSoaInterface();
  return table ? table->constructObject : nullptr;
}

}  // namespace kestrel
