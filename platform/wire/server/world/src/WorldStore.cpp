#include "halden/server/WorldStore.h"

#include <algorithm>

namespace Halden::Soa::Server {

namespace props {
namespace {
WireProperty make(const std::string& name, ValueType type, bool is_array) {
  WireProperty p;
  p.name = name;
  p.type = type;
  p.is_array = is_array;
  return p;
}
}  // namespace

WireProperty str(const std::string& name, const std::string& value) {
  auto p = make(name, ValueType::String, false);
  p.strings = {value};
  return p;
}
WireProperty strs(const std::string& name, std::vector<std::string> values) {
  auto p = make(name, ValueType::String, true);
  p.strings = std::move(values);
  return p;
}
WireProperty integer(const std::string& name, int value) {
  auto p = make(name, ValueType::Int, false);
  p.ints = {value};
  return p;
}
WireProperty ints(const std::string& name, std::vector<int> values) {
  auto p = make(name, ValueType::Int, true);
  p.ints = std::move(values);
  return p;
}
WireProperty real(const std::string& name, double value) {
  auto p = make(name, ValueType::Double, false);
  p.doubles = {value};
  return p;
}
WireProperty reals(const std::string& name, std::vector<double> values) {
  auto p = make(name, ValueType::Double, true);
  p.doubles = std::move(values);
  return p;
}
WireProperty real32(const std::string& name, float value) {
  auto p = make(name, ValueType::Float, false);
  p.floats = {value};
  return p;
}
WireProperty int16(const std::string& name, short value) {
  auto p = make(name, ValueType::Short, false);
  p.shorts = {value};
  return p;
}
WireProperty read_only(WireProperty property) {
  property.modifiable = false;
  return property;
}
WireProperty logical(const std::string& name, bool value) {
  auto p = make(name, ValueType::Logical, false);
  p.logicals = {value};
  return p;
}
WireProperty logicals(const std::string& name, std::vector<bool> values) {
  auto p = make(name, ValueType::Logical, true);
  p.logicals = std::move(values);
  return p;
}
WireProperty character(const std::string& name, char value) {
  auto p = make(name, ValueType::Char, false);
  p.chars = {value};
  return p;
}
WireProperty chars(const std::string& name, std::vector<char> values) {
  auto p = make(name, ValueType::Char, true);
  p.chars = std::move(values);
  return p;
}
WireProperty date(const std::string& name, const Common::DateTime& value) {
  auto p = make(name, ValueType::Date, false);
  p.dates = {value};
  return p;
}
WireProperty dates(const std::string& name, std::vector<Common::DateTime> values) {
  auto p = make(name, ValueType::Date, true);
  p.dates = std::move(values);
  return p;
}
WireProperty ref(const std::string& name, const std::string& uid) {
  auto p = make(name, ValueType::Reference, false);
  p.references = {uid};
  return p;
}
WireProperty refs(const std::string& name, std::vector<std::string> uids) {
  auto p = make(name, ValueType::Reference, true);
  p.references = std::move(uids);
  return p;
}
WireProperty null(const std::string& name, ValueType type, bool is_array) {
  auto p = make(name, type, is_array);
  p.is_null = true;
  return p;
}
}  // namespace props

void WorldStore::add_object(const std::string& uid, std::vector<std::string> types,
                            std::vector<WireProperty> properties) {
  auto& object = objects_[uid];
  object.types = std::move(types);
  for (auto& p : properties) object.properties[p.name] = std::move(p);
}

void WorldStore::set_property(const std::string& uid, WireProperty property) {
  objects_.at(uid).properties[property.name] = std::move(property);
}

std::string WorldStore::fresh_uid(const std::string& stem) {
  std::size_t& last = last_number_[stem];
  for (;;) {
    std::string uid = stem + std::to_string(++last);
    if (!find(uid)) return uid;
  }
}

WorldStore::StoredObject* WorldStore::find(const std::string& uid) {
  auto it = objects_.find(uid);
  return it == objects_.end() ? nullptr : &it->second;
}

const WorldStore::StoredObject* WorldStore::find(const std::string& uid) const {
  auto it = objects_.find(uid);
  return it == objects_.end() ? nullptr : &it->second;
}

void WorldStore::set_policy(const std::string& type, std::set<std::string> names) { policy_[type] = std::move(names); }

void WorldStore::add_named_policy(const std::string& name, std::map<std::string, std::set<std::string>> names) {
  named_policies_[name] = std::move(names);
}

bool WorldStore::apply_named_policy(const std::string& name) {
  auto it = named_policies_.find(name);
  if (it == named_policies_.end()) return false;
  for (const auto& [type, names] : it->second) policy_[type].insert(names.begin(), names.end());
  return true;
}

void WorldStore::set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values) {
  preferences_[scope][name] = std::move(values);
}

WireObject WorldStore::wire_object(const std::string& uid, const std::vector<std::string>& names) const {
  return wire_object(uid, objects_.at(uid), names);
}

// The stored properties that the policy of one of the object's types or the
// names ask for, in name order.
WireObject WorldStore::wire_object(const std::string& uid, const StoredObject& stored,
                                   const std::vector<std::string>& names) const {
  std::vector<const std::set<std::string>*> policies;
  policies.reserve(stored.types.size());
  for (const auto& type : stored.types)
    if (auto it = policy_.find(type); it != policy_.end()) policies.push_back(&it->second);
  WireObject out{uid, stored.types, {}};
  out.properties.reserve(stored.properties.size());
  // An entry, not a structured binding: clang's C++17 mode refuses to
  // capture a binding in the lambda.
  for (const auto& entry : stored.properties) {
    const std::string& name = entry.first;
    const bool carried = std::any_of(policies.begin(), policies.end(), [&](auto* p) { return p->count(name) != 0; }) ||
                         std::find(names.begin(), names.end(), name) != names.end();
    if (carried) out.properties.push_back(entry.second);
  }
  return out;
}

void WorldStore::add_referenced(WireServiceData& data, const WireObject& object,
                                std::unordered_set<std::string>& seen) const {
  for (const auto& p : object.properties)
    for (const auto& uid : p.references) {
      if (uid.empty() || !seen.insert(uid).second) continue;
      auto it = objects_.find(uid);
      if (it != objects_.end()) data.objects.push_back(WireObject{uid, it->second.types, {}});
    }
}

WireServiceData WorldStore::reply(const std::vector<std::string>& uids, const std::vector<std::string>& names,
                                  bool plain) const {
  WireServiceData data;
  data.objects.reserve(uids.size());
  if (plain) data.plain.reserve(uids.size());
  std::unordered_set<std::string> seen(uids.begin(), uids.end());
  for (const auto& uid : uids) {
    const StoredObject* stored = find(uid);
    if (stored) data.objects.push_back(wire_object(uid, *stored, names));
    if (!plain) continue;
    if (stored)
      data.plain.push_back(uid);
    else
      data.errors.push_back(not_found(uid));
  }
  const std::size_t carried = data.objects.size();
  for (std::size_t i = 0; i < carried; ++i) add_referenced(data, data.objects[i], seen);
  return data;
}

WireServiceData WorldStore::reply_with(const std::vector<std::string>& uids,
                                       const std::vector<std::string>& names) const {
  return reply(uids, names, false);
}

WireServiceData WorldStore::plain_reply(const std::vector<std::string>& uids,
                                        const std::vector<std::string>& names) const {
  return reply(uids, names, true);
}

WireErrorStack WorldStore::not_found(const std::string& uid) {
  return WireErrorStack{"", -1, uid, {{515024, 3, "The object with UID " + uid + " could not be found."}}};
}

WireErrorStack WorldStore::error_of(int client_index, const std::string& client_id, int code,
                                    const std::string& message) {
  return WireErrorStack{"", client_index, client_id, {{code, 3, message}}};
}

}  // namespace Halden::Soa::Server
