#include "halden/server/world/InternalDataManagementWorld.h"

namespace Halden::Soa::Server {

CreateRelationsReply InternalDataManagementWorld::createRelations(const std::vector<RelationCreateRecord>& records) {
  CreateRelationsReply reply;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& record = records[i];
    if (!store_.find(record.primary_uid) || !store_.find(record.secondary_uid)) {
      reply.data.errors.push_back(WorldStore::error_of(static_cast<int>(i), record.client_id, 515024,
                                                       "A relation needs a known primary and secondary object."));
      continue;
    }
    const std::string key = "rel-" + std::to_string(++created_);
    links_.add_link(key, record.primary_uid, record.secondary_uid);
    reply.outputs.push_back({record.client_id, "fndlink-" + key});
    reply.data.created.push_back("fndlink-" + key);
  }
  reply.data.objects = store_.reply_with(reply.data.created).objects;
  return reply;
}

}  // namespace Halden::Soa::Server
