// The host's saved queries and lists of values.
#pragma once

#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/ustring.h"
#include "objmodel/ModelObject.h"

// Data types of query fields and of lists of values.
enum virelmgrFieldDataType_e {
  virelmgrFieldChar = 2001,
  virelmgrFieldDate = 2002,
  virelmgrFieldDouble = 2003,
  virelmgrFieldFloat = 2004,
  virelmgrFieldInt = 2005,
  virelmgrFieldLogical = 2006,
  virelmgrFieldShort = 2007,
  virelmgrFieldString = 2008,
  virelmgrFieldTypedReference = 2009,
  virelmgrFieldUntypedReference = 2010,
  virelmgrFieldExternalReference = 2011,
};

namespace Orvane::PdmSoa {

// The allowed values of a query field; the setter called says their type.
class ListOfValues : public PomObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using PomObject::PomObject;
  UString ClassName() const override { return className; }

  void SetCharValues(const std::vector<char>& values);
  void SetDateValues(const std::vector<date_s>& values);
  void SetDoubleValues(const std::vector<double>& values);
  void SetIntValues(const std::vector<int>& values);
  void SetStringValues(const std::vector<std::string>& values);
  void SetReferenceValues(const std::vector<ModelObject*>& values);

  // What the setters were given; read by tests.
  std::string set_by;  // the name of the last setter called
  std::vector<char> char_values;
  std::vector<date_s> date_values;
  std::vector<double> double_values;
  std::vector<int> int_values;
  std::vector<std::string> string_values;
  std::vector<ModelObject*> reference_values;
};

class Query : public PomObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using PomObject::PomObject;
  UString ClassName() const override { return className; }

  struct FieldDescription {
    virelmgrFieldDataType_e type;
    UString entry_name, attribute_name, value, logical_operation, math_operation;
    ListOfValues* lov;  // null when the field has none
  };
  void AddFieldDescription(virelmgrFieldDataType_e type, const UString& entry_name, const UString& attribute_name,
                           const UString& value, const UString& logical_operation, const UString& math_operation,
                           ListOfValues* lov);
  const std::vector<FieldDescription>& GetFieldDescriptions() const { return fields_; }

 private:
  std::vector<FieldDescription> fields_;
};

}  // namespace Orvane::PdmSoa
