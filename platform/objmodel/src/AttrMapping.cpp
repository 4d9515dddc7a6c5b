#include "objmodel/AttrMapping.h"

#include <memory>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"

namespace Orvane::PdmSoa {

const UString CadAttrMappingDefinition::className = "CadAttrMappingDefinition";

namespace {

// The host keeps every definition it was handed for the life of the process.
std::vector<std::unique_ptr<CadAttrMappingDefinition>>& definitions() {
  static std::vector<std::unique_ptr<CadAttrMappingDefinition>> held;
  return held;
}

Halden::Soa::Client::Property* setting(Halden::Soa::Client::ModelObject* object, const char* name) {
  try {
    return object ? object->getProperty(name) : nullptr;
  } catch (const Halden::Soa::Client::NotLoadedException&) {
    return nullptr;
  }
}

bool flag_of(Halden::Soa::Client::ModelObject* object, const char* name) {
  auto* p = setting(object, name);
  return p && p->getPropertyDescription().getValueType() == Halden::Soa::Common::ValueType::Logical &&
         !p->getBoolArrayValue().empty() && p->getBoolArrayValue().front();
}

}  // namespace

CadAttrMappingDefinition::CadAttrMappingDefinition(Halden::Soa::Client::ModelObject* object,
                                                   DefaultPropDescriptor* descriptor)
    : ModelObject(object), descriptor_(descriptor) {}

CadAttrMappingDefinition::~CadAttrMappingDefinition() { delete descriptor_; }

CadAttrMappingDefinition* CadAttrMappingDefinition::CreateInstance(DefaultPropDescriptor* descriptor, const UString&,
                                                                   const void* server_definition) {
  auto* object = static_cast<Halden::Soa::Client::ModelObject*>(const_cast<void*>(server_definition));
  std::unique_ptr<CadAttrMappingDefinition> definition(new CadAttrMappingDefinition(object, descriptor));
  if (auto* p = setting(object, "mapping_type");
      p && p->getPropertyDescription().getValueType() == Halden::Soa::Common::ValueType::Int &&
      !p->getIntArrayValue().empty())
    definition->mapping_type_ = p->getIntArrayValue().front();
  if (auto* p = setting(object, "attr_title");
      p && p->getPropertyDescription().getValueType() == Halden::Soa::Common::ValueType::String &&
      !p->getStringArrayValue().empty())
    definition->title_ = p->getStringArrayValue().front();
  definition->freezable_ = flag_of(object, "freezable");
  definition->cad_master_ = flag_of(object, "cad_master");
  definition->write_once_ = flag_of(object, "write_once");
  definition->ostra_master_ = flag_of(object, "ostra_master");
  definitions().push_back(std::move(definition));
  return definitions().back().get();
}

}  // namespace Orvane::PdmSoa
