#include "objmodel/Query.h"

namespace Orvane::PdmSoa {

const UString ListOfValues::className = "ListOfValues";
const UString Query::className = "Query";

void ListOfValues::SetCharValues(const std::vector<char>& values) {
  set_by = "SetCharValues";
  char_values = values;
}
void ListOfValues::SetDateValues(const std::vector<date_s>& values) {
  set_by = "SetDateValues";
  date_values = values;
}
void ListOfValues::SetDoubleValues(const std::vector<double>& values) {
  set_by = "SetDoubleValues";
  double_values = values;
}
void ListOfValues::SetIntValues(const std::vector<int>& values) {
  set_by = "SetIntValues";
  int_values = values;
}
void ListOfValues::SetStringValues(const std::vector<std::string>& values) {
  set_by = "SetStringValues";
  string_values = values;
}
void ListOfValues::SetReferenceValues(const std::vector<ModelObject*>& values) {
  set_by = "SetReferenceValues";
  reference_values = values;
}

void Query::AddFieldDescription(virelmgrFieldDataType_e type, const UString& entry_name,
                                const UString& attribute_name, const UString& value,
                                const UString& logical_operation, const UString& math_operation, ListOfValues* lov) {
  fields_.push_back({type, entry_name, attribute_name, value, logical_operation, math_operation, lov});
}

}  // namespace Orvane::PdmSoa
