#include "halden/server/world/PropDescriptorWorld.h"

#include <algorithm>

namespace Halden::Soa::Server {

AttachedPropDescsReply PropDescriptorWorld::getAttachedPropDescs(
    const std::vector<AttachedPropDescsRequest>& requests) {
  AttachedPropDescsReply reply;
  UidList carried;
  for (const auto& request : requests) {
    auto& list = reply.by_type[request.type_name];
    for (const auto& name : request.property_names) {
      auto it = lovs_.find({request.type_name, name});
      std::string lov = it == lovs_.end() ? std::string() : it->second;
      carried.add(lov);
      list.push_back({name, std::move(lov)});
    }
  }
  reply.data = store_.reply_with(carried.uids());
  return reply;
}

PropDescriptorsReply PropDescriptorWorld::getPropDescriptors(const std::vector<std::string>& type_names) {
  PropDescriptorsReply reply;
  for (std::size_t i = 0; i < type_names.size(); ++i) {
    const std::string& type = type_names[i];
    std::map<std::string, PropDescriptorRecord> by_name;
    bool known = false;
    for (const auto& [uid, object] : store_.objects()) {
      if (std::find(object.types.begin(), object.types.end(), type) == object.types.end()) continue;
      known = true;
      for (const auto& [name, p] : object.properties)
        by_name.emplace(name, PropDescriptorRecord{name, p.type, p.is_array, p.modifiable});
    }
    if (!known) {
      reply.data.errors.push_back(
          WorldStore::error_of(static_cast<int>(i), type, 214601, "The type " + type + " is not known."));
      continue;
    }
    auto& list = reply.by_type[type];
    for (auto& entry : by_name) list.push_back(std::move(entry.second));
  }
  return reply;
}

}  // namespace Halden::Soa::Server
