#include "kestrel_cadservices.h"

#include "halden/soa/client/ModelObject.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

Orvane::PdmSoa::WorkspaceObject* KESTREL_ask_workspace_object(Halden::Soa::Client::ModelObject* object) {
  if (!object) return nullptr;
  return dynamic_cast<Orvane::PdmSoa::WorkspaceObject*>(
      Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectWithUid(UString(object->getUid()), object));
}
