#include "halden/soa/client/model/CadAttrMapping.h"

#include "halden/soa/client/Exceptions.h"

namespace Halden::Soa::Client::Model {

namespace {
const bool registered = [] {
  registerModelClass("CadAttrMappingDefinition", &makeModelObject<CadAttrMappingDefinition>);
  return true;
}();

std::string text_of(ModelObject& object, const char* name) {
  Property* p = object.getProperty(name);
  return p ? p->getStringValue() : std::string();
}
}  // namespace

int CadAttrMappingDefinition::get_mapping_type() {
  Property* p = getProperty("mapping_type");
  return p ? p->getIntValue() : 0;
}
std::string CadAttrMappingDefinition::get_attr_title() { return text_of(*this, "attr_title"); }
std::string CadAttrMappingDefinition::get_constant_value() { return text_of(*this, "constant_value"); }
std::string CadAttrMappingDefinition::get_preference_name() { return text_of(*this, "preference_name"); }

}  // namespace Halden::Soa::Client::Model
