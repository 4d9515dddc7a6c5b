// Core data management in the sample world: properties and loading of any
// stored object, and items with their revisions by id.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/DataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/ProductCatalog.h"

namespace Halden::Soa::Server {

class DataManagementWorld : public DataManagementStub {
 public:
  DataManagementWorld(WorldStore& store, ProductCatalog& catalog) : store_(store), catalog_(catalog) {}

  WireServiceData getProperties(const std::vector<std::string>& uids, const std::vector<std::string>& names) override;
  WireServiceData loadObjects(const std::vector<std::string>& uids) override;
  ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                const std::vector<RelationFilterRecord>& filters) override;
  // Creation (CreationWorld.cpp).
  CreateDatasetsReply createDatasets(const std::vector<DatasetCreateRecord>& inputs) override;
  CreateItemsReply createItems(const std::map<std::string, ItemCreateRecord>& inputs) override;

 private:
  WorldStore& store_;
  ProductCatalog& catalog_;  // creation adds to it
};

}  // namespace Halden::Soa::Server
