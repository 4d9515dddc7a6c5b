#include "objmodel/ModelObject.h"

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace Orvane::PdmSoa {

const UString ModelObject::className = "ModelObject";
const UString PomObject::className = "PomObject";
const UString WorkspaceObject::className = "WorkspaceObject";
const UString Folder::className = "Folder";
const UString Item::className = "Item";
const UString ItemRevision::className = "ItemRevision";
const UString Dataset::className = "Dataset";
const UString BomWindow::className = "BomWindow";
const UString BomLine::className = "BomLine";
const UString Component::className = "Component";
const UString Relation::className = "Relation";

ModelObject::ModelObject(Halden::Soa::Client::ModelObject* object) : object_(object) {}

UString ModelObject::GetUid() const { return object_ ? UString(object_->getUid()) : UString(); }

int ModelObject::GetClassType() const {
  static const UString* const kClassTypes[] = {
      &ModelObject::className, &PomObject::className, &Item::className,    &ItemRevision::className,
      &Dataset::className,     &Folder::className,    &BomLine::className, &WorkspaceObject::className,
      &BomWindow::className,   &Relation::className,
  };
  const UString name = ClassName();
  for (int i = 0; i < static_cast<int>(sizeof kClassTypes / sizeof kClassTypes[0]); ++i)
    if (*kClassTypes[i] == name) return i;
  return -1;
}

PomObject* PomObject::GetInstance(const std::string& uid, Halden::Soa::Client::ModelObject* object, unsigned int) {
  return dynamic_cast<PomObject*>(SoaManager::GetObjectManager()->WrapSoaObjectWithUid(UString(uid), object));
}

UString ModelObject::GetObjectType() const {
  return object_ && object_->getType() ? UString(object_->getType()->getName()) : UString();
}

namespace {
// The server value of a property, or null when it is null or not loaded.
Halden::Soa::Client::Property* loaded_property(Halden::Soa::Client::ModelObject* object, const std::string& name) {
  if (!object) return nullptr;
  try {
    return object->getProperty(name);
  } catch (const Halden::Soa::Client::NotLoadedException&) {
    return nullptr;
  }
}

std::map<UString, UString>& known_items() {
  static std::map<UString, UString> items;
  return items;
}
}  // namespace

ModelObject* ModelObject::GetPropertyObject(const std::string& name) const {
  auto* property = loaded_property(object_, name);
  if (!property || property->getPropertyDescription().getValueType() != Halden::Soa::Common::ValueType::Reference)
    return nullptr;
  return SoaManager::GetObjectManager()->WrapSoaObject(property->getModelObjectValue());
}

UString ModelObject::GetPropertyUString(const std::string& name) const {
  auto* property = loaded_property(object_, name);
  if (!property || property->getPropertyDescription().isArray() ||
      property->getPropertyDescription().getValueType() != Halden::Soa::Common::ValueType::String)
    return UString();
  const auto& values = property->getStringArrayValue();
  return values.empty() ? UString() : UString(values.front());
}

UString ModelObject::GetPropertyString(const char* name) const { return name ? GetPropertyUString(name) : UString(); }

ModelObject* ModelObject::GetInstance(const UString& uid, Halden::Soa::Client::ModelObject* object, unsigned int) {
  return SoaManager::GetObjectManager()->GetInstance(uid, object);
}

UString Item::GetItemId() const {
  auto* property = loaded_property(GetObjectPtr(), "item_id");
  if (!property || property->getPropertyDescription().getValueType() != Halden::Soa::Common::ValueType::String)
    return UString();
  const auto& values = property->getStringArrayValue();
  return values.empty() ? UString() : UString(values.front());
}

void Item::AddToKnownItems(const UString& item_id, const UString& uid) { known_items()[item_id] = uid; }
const std::map<UString, UString>& Item::KnownItems() { return known_items(); }
void Item::ForgetKnownItems() { known_items().clear(); }

Item* Item::AskPart(const UString& item_id) {
  auto it = known_items().find(item_id);
  if (it == known_items().end()) return nullptr;
  return dynamic_cast<Item*>(SoaManager::GetObjectManager()->GetObjectByUid(it->second, className));
}

UString Dataset::AskReleaseStatusText() const {
  auto* property = loaded_property(GetObjectPtr(), "release_status_list");
  return property ? UString(property->getDisplayableValue()) : UString();
}

BomLine::BomLine(const UString&, void* server_line, unsigned int)
    : ModelObject(static_cast<Halden::Soa::Client::ModelObject*>(server_line)) {}

BomLine::BomLine(Halden::Soa::Client::ModelObject* object) : ModelObject(object) {}

}  // namespace Orvane::PdmSoa
