#include "halden/soa/client/internal/Request.h"

#include <cstdio>

#include "halden/soa/client/ModelManager.h"

namespace Halden::Soa::Client::Internal {

namespace {

using Server::ValueType;

std::string display_of(const Server::WireProperty& w, std::size_t i) {
  char number[64];
  switch (w.type) {
    case ValueType::String:
      return w.strings[i];
    case ValueType::Int:
      std::snprintf(number, sizeof number, "%d", w.ints[i]);
      return number;
    case ValueType::Double:
      std::snprintf(number, sizeof number, "%g", w.doubles[i]);
      return number;
    case ValueType::Float:
      std::snprintf(number, sizeof number, "%g", static_cast<double>(w.floats[i]));
      return number;
    case ValueType::Short:
      std::snprintf(number, sizeof number, "%d", w.shorts[i]);
      return number;
    case ValueType::Logical:
      return w.logicals[i] ? "True" : "False";
    case ValueType::Char:
      return std::string(1, w.chars[i]);
    case ValueType::Date:
      return w.dates[i].toString();
    case ValueType::Reference:
      return w.references[i];
  }
  return {};
}

std::size_t count_of(const Server::WireProperty& w) {
  switch (w.type) {
    case ValueType::String:
      return w.strings.size();
    case ValueType::Int:
      return w.ints.size();
    case ValueType::Double:
      return w.doubles.size();
    case ValueType::Float:
      return w.floats.size();
    case ValueType::Short:
      return w.shorts.size();
    case ValueType::Logical:
      return w.logicals.size();
    case ValueType::Char:
      return w.chars.size();
    case ValueType::Date:
      return w.dates.size();
    case ValueType::Reference:
      return w.references.size();
  }
  return 0;
}

// A property as a reply carries it, written over the one the object holds:
// what an earlier reply left is reused in place, so a reply allocates only
// for values that outgrow the ones before.
void absorb_property(ModelManager& models, ModelObject& object, const Server::WireProperty& w) {
  if (w.is_null) {
    Access::setProperty(object, w.name, nullptr);
    return;
  }
  std::unique_ptr<Property>& slot = Access::propertySlot(object, w.name);
  PropertyDescription description(w.name, w.type, w.is_array, w.modifiable);
  if (slot)
    Access::description(*slot) = std::move(description);
  else
    slot = std::make_unique<Property>(std::move(description));
  auto& v = Access::values(*slot);
  v.strings = w.strings;
  v.ints = w.ints;
  v.doubles = w.doubles;
  v.floats = w.floats;
  v.shorts = w.shorts;
  v.logicals = w.logicals;
  v.chars = w.chars;
  v.dates = w.dates;
  v.objects.clear();
  v.objects.reserve(w.references.size());
  for (const auto& uid : w.references) v.objects.push_back(objectOf(models, uid));
  if (!w.display.empty()) {
    v.display = w.display;
  } else if (w.type == ValueType::String) {
    v.display = w.strings;
  } else {
    const std::size_t n = count_of(w);
    v.display.resize(n);
    for (std::size_t i = 0; i < n; ++i) v.display[i] = display_of(w, i);
  }
}

}  // namespace

std::string uidOf(const ModelObject* object) { return object ? object->getUid() : std::string(); }

std::vector<std::string> uidsOf(const std::vector<ModelObject*>& objects) {
  std::vector<std::string> uids;
  uids.reserve(objects.size());
  for (const auto* o : objects) uids.push_back(uidOf(o));
  return uids;
}

ModelObject* objectOf(ModelManager& models, const std::string& uid) {
  return uid.empty() ? nullptr : Access::objectOf(models, uid, {});
}

std::vector<ModelObject*> objectsOf(ModelManager& models, const std::vector<std::string>& uids) {
  std::vector<ModelObject*> objects;
  objects.reserve(uids.size());
  for (const auto& uid : uids) objects.push_back(objectOf(models, uid));
  return objects;
}

ServiceData absorb(Connection& connection, const Server::WireServiceData& data) {
  ModelManager& models = *connection.getModelManager();
  // Objects first, so references among them resolve to their own types.
  std::vector<ModelObject*> objects;
  objects.reserve(data.objects.size());
  for (const auto& w : data.objects) objects.push_back(Access::objectOf(models, w.uid, w.types));
  for (std::size_t i = 0; i < objects.size(); ++i)
    for (const auto& p : data.objects[i].properties) absorb_property(models, *objects[i], p);
  ServiceData sd;
  sd.created = objectsOf(models, data.created);
  sd.updated = objectsOf(models, data.updated);
  sd.plain = objectsOf(models, data.plain);
  sd.deleted = data.deleted;
  sd.errors.reserve(data.errors.size());
  for (const auto& e : data.errors) {
    std::vector<ErrorValue> values;
    values.reserve(e.values.size());
    for (const auto& v : e.values) values.emplace_back(v.code, v.level, v.message);
    ModelObject* associated = e.associated_uid.empty() ? nullptr : Access::objectOf(models, e.associated_uid, {});
    sd.errors.emplace_back(associated, e.client_index, e.client_id, std::move(values));
  }
  if (!sd.deleted.empty()) Access::fireDeleted(models, sd.deleted);
  if (!sd.updated.empty()) Access::fireChanged(models, sd.updated);
  if (!sd.errors.empty()) Access::firePartialErrors(models, sd.errors);
  return sd;
}

}  // namespace Halden::Soa::Client::Internal
