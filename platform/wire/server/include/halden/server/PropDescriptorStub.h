// Core property descriptors: the descriptors attached to properties of types.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct AttachedPropDescsRequest {
  std::string type_name;
  std::vector<std::string> property_names;
};

struct AttachedPropDescRecord {
  std::string property_name;
  std::string lov_uid;  // "" for none
};

struct AttachedPropDescsReply {
  std::map<std::string, std::vector<AttachedPropDescRecord>> by_type;  // by type name
  WireServiceData data;
};

// A property of a type as its descriptor tells it.
struct PropDescriptorRecord {
  std::string name;
  ValueType type = ValueType::String;
  bool is_array = false;
  bool modifiable = true;
};

struct PropDescriptorsReply {
  std::map<std::string, std::vector<PropDescriptorRecord>> by_type;  // by type name
  WireServiceData data;
};

// What the sample world answers for getPropDescriptors: per type name the
// properties of its stored objects, by name; a type the store holds no
// object of gets a level-3 error and no entry.
class PropDescriptorStub {
 public:
  virtual ~PropDescriptorStub() = default;
  virtual AttachedPropDescsReply getAttachedPropDescs(const std::vector<AttachedPropDescsRequest>& requests) = 0;
  virtual PropDescriptorsReply getPropDescriptors(const std::vector<std::string>& type_names) = 0;
};

}  // namespace Halden::Soa::Server
