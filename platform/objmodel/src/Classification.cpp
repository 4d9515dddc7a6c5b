#include "objmodel/Classification.h"

#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"

namespace Orvane::PdmSoa {

namespace {
int refusals = 0;
}

const UString ClassificationClass::className = "ClassificationClass";
const UString ClassificationObject::className = "ClassificationObject";

ClassificationClass::ClassificationClass(const std::string& id, const std::string& name, const void* server_object)
    : ModelObject(static_cast<Halden::Soa::Client::ModelObject*>(const_cast<void*>(server_object))),
      constructed_id_(id),
      constructed_name_(name) {}

ClassificationObject* ClassificationObject::ConstructObjectFromUid(const std::string& uid) {
  if (refusals > 0) {
    --refusals;
    return nullptr;
  }
  return dynamic_cast<ClassificationObject*>(SoaManager::GetObjectManager()->GetObjectByUid(UString(uid), className));
}

}  // namespace Orvane::PdmSoa

namespace objmodel::testing {
void refuse_construct_from_uid(int times) { Orvane::PdmSoa::refusals = times; }
}  // namespace objmodel::testing
