// Core data management in the sample world: properties and loading of any
// stored object, and items with their revisions by id.
#pragma once

#include <string>
#include <vector>

#include "halden/server/DataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/ProductCatalog.h"

namespace Halden::Soa::Server {

class DataManagementWorld : public DataManagementStub {
 public:
  DataManagementWorld(WorldStore& store, const ProductCatalog& catalog) : store_(store), catalog_(catalog) {}

  WireServiceData getProperties(const std::vector<std::string>& uids, const std::vector<std::string>& names) override;
  WireServiceData loadObjects(const std::vector<std::string>& uids) override;
  ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                const std::vector<RelationFilterRecord>& filters) override;

 private:
  WorldStore& store_;
  const ProductCatalog& catalog_;
};

}  // namespace Halden::Soa::Server
