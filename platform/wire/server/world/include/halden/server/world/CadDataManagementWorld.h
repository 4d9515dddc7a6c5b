// CAD data management in the sample world: related objects as core data
// management follows them, and items expanded with all their revisions and
// datasets, as CadDataManagementStub.h tells.
#pragma once

#include <string>
#include <vector>

#include "halden/server/CadDataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/DataManagementWorld.h"

namespace Halden::Soa::Server {

class CadDataManagementWorld : public CadDataManagementStub {
 public:
  CadDataManagementWorld(WorldStore& store, DataManagementWorld& datamanagement)
      : store_(store), datamanagement_(datamanagement) {}

  RelatedObjectsReply getRelatedObjects(const std::vector<std::string>& uids,
                                        const std::vector<RelationFilterRecord>& filters) override;
  ExpandItemsReply expandItems(const std::vector<std::string>& item_uids,
                               const ExpandItemsPreference& preference) override;

 private:
  WorldStore& store_;
  DataManagementWorld& datamanagement_;
};

}  // namespace Halden::Soa::Server
