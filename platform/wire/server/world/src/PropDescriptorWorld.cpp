#include "halden/server/world/PropDescriptorWorld.h"

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

}  // namespace Halden::Soa::Server
