// The sample world's generic relation creation: trace links of a newer server.
#pragma once

#include <vector>

#include "halden/server/InternalDataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/ManagedRelationsWorld.h"

namespace Halden::Soa::Server {

class InternalDataManagementWorld : public InternalDataManagementStub {
 public:
  InternalDataManagementWorld(WorldStore& store, ManagedRelationsWorld& links) : store_(store), links_(links) {}
  CreateRelationsReply createRelations(const std::vector<RelationCreateRecord>& records) override;

 private:
  WorldStore& store_;
  ManagedRelationsWorld& links_;
  int created_ = 0;
};

}  // namespace Halden::Soa::Server
