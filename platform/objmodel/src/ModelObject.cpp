#include "objmodel/ModelObject.h"

#include "halden/soa/client/ModelObject.h"

namespace Orvane::PdmSoa {

const UString ModelObject::className = "ModelObject";
const UString PomObject::className = "PomObject";
const UString WorkspaceObject::className = "WorkspaceObject";
const UString Folder::className = "Folder";
const UString Item::className = "Item";
const UString ItemRevision::className = "ItemRevision";
const UString Dataset::className = "Dataset";

ModelObject::ModelObject(Halden::Soa::Client::ModelObject* object) : object_(object) {}

UString ModelObject::GetUid() const { return object_ ? UString(object_->getUid()) : UString(); }

UString ModelObject::GetObjectType() const {
  return object_ && object_->getType() ? UString(object_->getType()->getName()) : UString();
}

}  // namespace Orvane::PdmSoa
