// What several world parts ask of stored objects. Private to the world.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server::stored {

inline bool has_type(const WorldStore::StoredObject& object, const std::string& type) {
  return std::find(object.types.begin(), object.types.end(), type) != object.types.end();
}

// The first value of a string property, or null.
inline const std::string* string_value(const WorldStore::StoredObject& object, const std::string& name) {
  auto it = object.properties.find(name);
  if (it == object.properties.end() || it->second.type != ValueType::String || it->second.strings.empty())
    return nullptr;
  return &it->second.strings.front();
}

// Whether an object is of one of the types (any when none): its type chain
// or its "object_type".
inline bool of_types(const WorldStore::StoredObject& object, const std::vector<std::string>& types) {
  if (types.empty()) return true;
  const std::string* object_type = string_value(object, "object_type");
  return std::any_of(types.begin(), types.end(),
                     [&](const std::string& t) { return has_type(object, t) || (object_type && *object_type == t); });
}

// A level-3 error of one request element, associated with its object.
inline WireErrorStack error_on(const std::string& uid, int index, int code, const std::string& message) {
  return WireErrorStack{uid, index, uid, {{code, 3, message}}};
}

// The error of a UID the store does not hold, at its place in the request.
inline WireErrorStack unknown(const std::string& uid, int index) {
  WireErrorStack stack = WorldStore::not_found(uid);
  stack.client_index = index;
  return stack;
}

}  // namespace Halden::Soa::Server::stored
