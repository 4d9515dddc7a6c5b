// CAD data management: related objects, items expanded with their
// revisions and datasets, and attribute mapping.
#pragma once

#include <vector>

#include "halden/services/cad/AttrMapping.h"
#include "halden/services/cad/PartCreation.h"
#include "halden/services/core/RelatedObjects.h"
#include "halden/services/core/RelationFilter.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Cad {

using Core::RelatedObjectsGroup;
using Core::RelatedObjectsOutput;
using Core::RelatedObjectsResponse;
using Core::RelationFilter;

// What an item expansion brings besides the items.
struct ExpandItemsPref {
  bool flag = false;
  int relatedDataMode = 0;
  std::vector<RelationFilter> filters;
};

struct ExpandItemsRevisionEntry {
  Soa::Client::ModelObject* itemRevision = nullptr;
  std::vector<Soa::Client::ModelObject*> datasets;
};

struct ExpandItemsItemEntry {
  Soa::Client::ModelObject* item = nullptr;
  std::vector<ExpandItemsRevisionEntry> itemRevisions;
};

struct ExpandItemsOutput {
  Soa::Client::ModelObject* inputObject = nullptr;
  std::vector<Soa::Client::ModelObject*> objects;
  std::vector<ExpandItemsItemEntry> items;
  std::vector<ExpandItemsRevisionEntry> itemRevisions;
};

struct ExpandItemsResponse {
  std::vector<ExpandItemsOutput> output;  // one per input
  Soa::Client::ServiceData serviceData;
};

class DatamanagementService {
 public:
  static DatamanagementService* getService(Soa::Client::Connection* connection);
  explicit DatamanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  RelatedObjectsResponse getRelatedObjects(const std::vector<Soa::Client::ModelObject*>& objects,
                                           const std::vector<RelationFilter>& filters);
  ExpandItemsResponse expandItems(const std::vector<Soa::Client::ModelObject*>& items, const ExpandItemsPref& pref);
  // Items with their revision and datasets in one request (PartCreation.cpp).
  CreatePartsResponse createParts(const std::vector<PartCreateInput>& parts);
  // The definitions of CAD contexts and the values they map (AttrMapping.cpp).
  GetAttrMappingDefinitionsResponse getAttrMappingDefinitions(const std::vector<AttrMappingContext>& contexts);
  ResolveAttrMappingsResponse resolveAttrMappings(const std::vector<ResolveAttrMappingsInfo>& infos);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Cad
