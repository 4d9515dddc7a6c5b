// Core property descriptors: what the server attaches to properties of a type.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct AttachedPropDescsInfo {
  std::string typeName;
  std::vector<std::string> propNames;
};

struct AttachedPropDesc {
  std::string propName;
  Soa::Client::ModelObject* lov = nullptr;  // the property's list of values, or null
};

struct GetAttachedPropDescsResponse {
  std::map<std::string, std::vector<AttachedPropDesc>> inputTypeNameToPropDescOutput;
  Soa::Client::ServiceData serviceData;
};

struct GetPropDescriptorsResponse {
  std::map<std::string, std::vector<Soa::Client::PropertyDescription>> descriptors;  // by type name
  Soa::Client::ServiceData serviceData;
};

class PropdescriptorService {
 public:
  static PropdescriptorService* getService(Soa::Client::Connection* connection);
  explicit PropdescriptorService(Soa::Client::Connection* connection) : connection_(connection) {}

  GetAttachedPropDescsResponse getAttachedPropDescs(const std::vector<AttachedPropDescsInfo>& inputs);
  // The descriptors of every property of the named types.
  GetPropDescriptorsResponse getPropDescriptors(const std::vector<std::string>& typeNames);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
