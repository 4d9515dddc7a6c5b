#pragma once

#include <string>
#include <vector>

#include "halden/soa/common/DateTime.h"
#include "halden/soa/common/ValueType.h"

namespace Halden::Soa::Client {

class ModelObject;
namespace Internal {
struct Access;
}

class PropertyDescription {
 public:
  using ValueType = Common::ValueType;
  PropertyDescription() = default;
  PropertyDescription(std::string name, ValueType type, bool is_array, bool modifiable = true)
      : name_(std::move(name)), type_(type), is_array_(is_array), modifiable_(modifiable) {}
  const std::string& getName() const { return name_; }
  ValueType getValueType() const { return type_; }
  bool isArray() const { return is_array_; }
  // Whether the server lets a client write the property.
  bool isModifiable() const { return modifiable_; }

 private:
  std::string name_;
  ValueType type_ = ValueType::String;
  bool is_array_ = false;
  bool modifiable_ = true;
};

// One loaded property of a server object; owned by the object.
// Single-value readers throw RuntimeException when the property is of another
// type or holds no value.
class Property {
 public:
  explicit Property(PropertyDescription description) : description_(std::move(description)) {}

  const std::string& getName() const { return description_.getName(); }
  const PropertyDescription& getPropertyDescription() const { return description_; }
  const PropertyDescription& getDescription() const { return description_; }

  const std::string& getStringValue() const;
  int getIntValue() const;
  double getDoubleValue() const;
  float getFloatValue() const;
  short getShortValue() const;
  bool getBoolValue() const;
  char getCharValue() const;
  const Common::DateTime& getDateValue() const;
  ModelObject* getModelObjectValue() const;

  const std::vector<std::string>& getStringArrayValue() const;
  const std::vector<int>& getIntArrayValue() const;
  const std::vector<double>& getDoubleArrayValue() const;
  const std::vector<float>& getFloatArrayValue() const;
  const std::vector<short>& getShortArrayValue() const;
  const std::vector<bool>& getBoolArrayValue() const;
  const std::vector<char>& getCharArrayValue() const;
  const std::vector<Common::DateTime>& getDateArrayValue() const;
  const std::vector<ModelObject*>& getModelObjectArrayValue() const;

  // The text form of an object reference a request carries: its UID, empty
  // for none.
  static std::string toModelObjectString(const ModelObject* object);

  // The server's display texts, one per value, joined by ",".
  std::string getDisplayableValue() const;
  std::string getDisplayText() const { return getDisplayableValue(); }

 private:
  friend struct Internal::Access;
  // Filled by the framework from a reply.
  struct Values {
    std::vector<std::string> strings;
    std::vector<int> ints;
    std::vector<double> doubles;
    std::vector<float> floats;
    std::vector<short> shorts;
    std::vector<bool> logicals;
    std::vector<char> chars;
    std::vector<Common::DateTime> dates;
    std::vector<ModelObject*> objects;
    std::vector<std::string> display;
  };
  void expect(Common::ValueType type) const;
  PropertyDescription description_;
  Values values_;
};

}  // namespace Halden::Soa::Client
