#include "kestrel_cadservices.h"

#include "kestrel_host.h"

Orvane::PdmSoa::WorkspaceObject* KESTREL_ask_workspace_object(Halden::Soa::Client::ModelObject* object) {
  return object ? dynamic_cast<Orvane::PdmSoa::WorkspaceObject*>(kestrel::host_object_of(object)) : nullptr;
}
