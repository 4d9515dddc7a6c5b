#include "halden/soa/client/Property.h"

#include <cstdio>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"

namespace Halden::Soa::Client {

void Property::expect(Common::ValueType type) const {
  if (description_.getValueType() != type)
    throw RuntimeException("property " + getName() + " is of another value type");
}

namespace {
template <class V>
const typename V::value_type& first(const V& values, const std::string& name) {
  if (values.empty()) throw RuntimeException("property " + name + " holds no value");
  return values.front();
}
}  // namespace

const std::string& Property::getStringValue() const {
  expect(Common::ValueType::String);
  return first(values_.strings, getName());
}
int Property::getIntValue() const {
  expect(Common::ValueType::Int);
  return first(values_.ints, getName());
}
double Property::getDoubleValue() const {
  expect(Common::ValueType::Double);
  return first(values_.doubles, getName());
}
float Property::getFloatValue() const {
  expect(Common::ValueType::Float);
  return first(values_.floats, getName());
}
short Property::getShortValue() const {
  expect(Common::ValueType::Short);
  return first(values_.shorts, getName());
}
bool Property::getBoolValue() const {
  expect(Common::ValueType::Logical);
  if (values_.logicals.empty()) throw RuntimeException("property " + getName() + " holds no value");
  return values_.logicals.front();
}
char Property::getCharValue() const {
  expect(Common::ValueType::Char);
  return first(values_.chars, getName());
}
const Common::DateTime& Property::getDateValue() const {
  expect(Common::ValueType::Date);
  return first(values_.dates, getName());
}
ModelObject* Property::getModelObjectValue() const {
  expect(Common::ValueType::Reference);
  return values_.objects.empty() ? nullptr : values_.objects.front();
}

const std::vector<std::string>& Property::getStringArrayValue() const {
  expect(Common::ValueType::String);
  return values_.strings;
}
const std::vector<int>& Property::getIntArrayValue() const {
  expect(Common::ValueType::Int);
  return values_.ints;
}
const std::vector<double>& Property::getDoubleArrayValue() const {
  expect(Common::ValueType::Double);
  return values_.doubles;
}
const std::vector<float>& Property::getFloatArrayValue() const {
  expect(Common::ValueType::Float);
  return values_.floats;
}
const std::vector<short>& Property::getShortArrayValue() const {
  expect(Common::ValueType::Short);
  return values_.shorts;
}
const std::vector<bool>& Property::getBoolArrayValue() const {
  expect(Common::ValueType::Logical);
  return values_.logicals;
}
const std::vector<char>& Property::getCharArrayValue() const {
  expect(Common::ValueType::Char);
  return values_.chars;
}
const std::vector<Common::DateTime>& Property::getDateArrayValue() const {
  expect(Common::ValueType::Date);
  return values_.dates;
}
const std::vector<ModelObject*>& Property::getModelObjectArrayValue() const {
  expect(Common::ValueType::Reference);
  return values_.objects;
}

std::string Property::toModelObjectString(const ModelObject* object) {
  return object ? object->getUid() : std::string();
}

std::string Property::getDisplayableValue() const {
  std::string text;
  for (std::size_t i = 0; i < values_.display.size(); ++i) {
    if (i) text += ",";
    text += values_.display[i];
  }
  return text;
}

}  // namespace Halden::Soa::Client
