// Core data management in the sample world: properties and loading of any
// stored object, items with their revisions by id, and the object operations
// (refresh, delete, relations both ways, property writing, dataset
// references, type descriptions) as DataManagementStub.h tells.
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
  DataManagementWorld(WorldStore& store, ProductCatalog& catalog);

  // The type registry of getTypeDescriptions: the entries of a type.
  void set_type_description(const std::string& type, std::vector<TypeDescriptionEntryRecord> entries);

  WireServiceData getProperties(const std::vector<std::string>& uids, const std::vector<std::string>& names) override;
  WireServiceData loadObjects(const std::vector<std::string>& uids) override;
  ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                const std::vector<RelationFilterRecord>& filters) override;
  // Creation (CreationWorld.cpp).
  CreateDatasetsReply createDatasets(const std::vector<DatasetCreateRecord>& inputs) override;
  CreateItemsReply createItems(const std::map<std::string, ItemCreateRecord>& inputs) override;
  CreateObjectsReply createObjects(const std::vector<ObjectCreateRecord>& inputs) override;
  WireServiceData removeNamedReferences(const std::vector<RemoveNamedReferencesRecord>& inputs) override;

  WireServiceData refreshObjects(const std::vector<std::string>& uids) override;
  WireServiceData deleteObjects(const std::vector<std::string>& uids) override;
  RelatedObjectsReply expandPrimaryObjects(const std::vector<std::string>& uids,
                                           const std::vector<RelationFilterRecord>& filters) override;
  RelatedObjectsReply expandSecondaryObjects(const std::vector<std::string>& uids,
                                             const std::vector<RelationFilterRecord>& filters) override;
  WireServiceData setProperties(const std::vector<std::string>& uids,
                                const std::map<std::string, std::vector<std::string>>& values) override;
  DatasetReferencesReply getDatasetReferences(const std::vector<std::string>& dataset_uids) override;
  TypeDescriptionsReply getTypeDescriptions(const std::vector<TypeDescriptionRequestRecord>& requests) override;

 private:
  WorldStore& store_;
  ProductCatalog& catalog_;  // creation adds to it
  std::map<std::string, std::vector<TypeDescriptionEntryRecord>> type_registry_;
};

}  // namespace Halden::Soa::Server
