// The host's attribute-mapping definitions: which CAD attribute maps to which
// server value, with the description of the value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corerun/ustring.h"
#include "objmodel/ModelObject.h"

namespace Orvane::PdmSoa {

class ListOfValues;

// The host's description of a mapped value; the meaning of the fields
// without a name of their own is the server's.
struct DefaultPropDescriptor {
  std::string text1;
  std::string text2;
  std::string text3;
  std::int32_t value_type = 6;  // 0 integer, 1 floating point, 2 text, 3 date, 5 logical, 6 none, 7 other,
                                // 8 list of texts, 9 reference
  std::int32_t int1 = 0;
  bool flag = false;
  bool is_array = false;
  ListOfValues* list_of_values = nullptr;  // not owned
  bool flag_a = false;
  bool flag_b = false;
  bool flag_c = false;  // whether an attribute without a source object may be written
  std::int32_t int2 = 0;
  std::int32_t int3 = 0;
  std::vector<std::string> texts;
  std::string constant_value;    // mapping type 3
  std::string preference_value;  // mapping type 4
};

// One mapping definition. The host owns it; it lives for the process.
class CadAttrMappingDefinition : public ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  UString ClassName() const override { return className; }

  // Takes over the descriptor (which may be null). Reads the definition's
  // settings from the server definition, a
  // Halden::Soa::Client::Model::CadAttrMappingDefinition.
  static CadAttrMappingDefinition* CreateInstance(DefaultPropDescriptor* descriptor, const UString& uid,
                                                  const void* server_definition);
  ~CadAttrMappingDefinition() override;

  // 1 and 2 map properties, 3 a constant, 4 a preference value.
  int get_mapping_type() const { return mapping_type_; }
  const std::string& get_attr_title() const { return title_; }
  bool get_freezable() const { return freezable_; }
  bool get_cad_master() const { return cad_master_; }
  bool get_write_once() const { return write_once_; }
  bool get_ostra_master() const { return ostra_master_; }
  DefaultPropDescriptor* get_default_prop_desc() const { return descriptor_; }

 private:
  CadAttrMappingDefinition(Halden::Soa::Client::ModelObject* object, DefaultPropDescriptor* descriptor);
  DefaultPropDescriptor* descriptor_;
  int mapping_type_ = 0;
  std::string title_;
  bool freezable_ = false, cad_master_ = false, write_once_ = false, ostra_master_ = false;
};

}  // namespace Orvane::PdmSoa
