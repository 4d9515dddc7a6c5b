// Property descriptors in the sample world: which list of values serves a
// property of a type.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "halden/server/PropDescriptorStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class PropDescriptorWorld : public PropDescriptorStub {
 public:
  explicit PropDescriptorWorld(WorldStore& store) : store_(store) {}

  void set_list_of_values(const std::string& type_name, const std::string& property, const std::string& lov_uid) {
    lovs_[{type_name, property}] = lov_uid;
  }

  // Every property asked gets a descriptor, with its list of values or none.
  AttachedPropDescsReply getAttachedPropDescs(const std::vector<AttachedPropDescsRequest>& requests) override;
  PropDescriptorsReply getPropDescriptors(const std::vector<std::string>& type_names) override;

 private:
  WorldStore& store_;
  std::map<std::pair<std::string, std::string>, std::string> lovs_;
};

}  // namespace Halden::Soa::Server
