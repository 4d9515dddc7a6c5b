// CAD data management in the sample world: related objects as core data
// management follows them, and items expanded with all their revisions and
// datasets, as CadDataManagementStub.h tells.
#pragma once

#include <string>
#include <vector>

#include "halden/server/CadDataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/DataManagementWorld.h"
#include "halden/server/world/FileManagementWorld.h"

namespace Halden::Soa::Server {

class CadDataManagementWorld : public CadDataManagementStub {
 public:
  CadDataManagementWorld(WorldStore& store, DataManagementWorld& datamanagement, FileManagementWorld& files)
      : store_(store), datamanagement_(datamanagement), files_(files) {}

  RelatedObjectsReply getRelatedObjects(const std::vector<std::string>& uids,
                                        const std::vector<RelationFilterRecord>& filters) override;
  ExpandItemsReply expandItems(const std::vector<std::string>& item_uids,
                               const ExpandItemsPreference& preference) override;
  // PartCreationWorld.cpp.
  CreatePartsReply createParts(const std::vector<PartCreateRecord>& parts) override;

 private:
  WorldStore& store_;
  DataManagementWorld& datamanagement_;
  FileManagementWorld& files_;  // write tickets of created datasets
};

}  // namespace Halden::Soa::Server
