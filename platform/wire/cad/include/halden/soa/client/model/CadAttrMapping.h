// The framework's attribute-mapping definition object.
#pragma once

#include <string>

#include "halden/soa/client/model/ModelClasses.h"

namespace Halden::Soa::Client::Model {

// Readers throw NotLoadedException for a setting no reply carried.
class CadAttrMappingDefinition : public POM_object {
 public:
  using POM_object::POM_object;
  // 1 and 2 map properties, 3 a constant, 4 a preference value.
  int get_mapping_type();
  std::string get_attr_title();
  std::string get_constant_value();
  std::string get_preference_name();
};

}  // namespace Halden::Soa::Client::Model
