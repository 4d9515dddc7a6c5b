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

class PropDescriptorStub {
 public:
  virtual ~PropDescriptorStub() = default;
  virtual AttachedPropDescsReply getAttachedPropDescs(const std::vector<AttachedPropDescsRequest>& requests) = 0;
};

}  // namespace Halden::Soa::Server
