#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/services/core/Creation.h"
#include "halden/services/core/RelatedObjects.h"
#include "halden/services/core/RelationFilter.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct GetItemFromIdInfo {
  std::string itemId;
  std::vector<std::string> revIds;  // none: the newest nRev revisions
};

struct GetItemFromIdItemRevOutput {
  Soa::Client::ModelObject* itemRevision = nullptr;
  std::vector<Soa::Client::ModelObject*> datasets;
};

struct GetItemFromIdOutput {
  Soa::Client::ModelObject* item = nullptr;
  std::vector<GetItemFromIdItemRevOutput> itemRevOutput;
};

struct GetItemFromIdResponse {
  std::vector<GetItemFromIdOutput> output;  // one per item found
  Soa::Client::ServiceData serviceData;
};

// One named reference of a dataset, as the server describes it.
struct DatasetReferenceInfo {
  std::string referenceName;
  bool isFile = false;
  std::string fileName;
  std::string referencedUid;
};

struct DatasetReferencesOutput {
  Soa::Client::ModelObject* dataset = nullptr;
  std::vector<DatasetReferenceInfo> references;
};

struct GetDatasetReferencesResponse {
  std::vector<DatasetReferencesOutput> output;
  Soa::Client::ServiceData serviceData;
};

struct TypeDescriptionInput {
  std::string typeName;
  std::vector<std::string> names;
};

struct TypeDescriptionValue {
  std::string name;
  std::vector<std::string> values;
};

struct GetTypeDescriptionsResponse {
  std::map<std::string, std::vector<TypeDescriptionValue>> descriptions;
  Soa::Client::ServiceData serviceData;
};

class DatamanagementService {
 public:
  static DatamanagementService* getService(Soa::Client::Connection* connection);
  explicit DatamanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  // An empty name list loads the standard properties of the policy in force.
  Soa::Client::ServiceData getProperties(const std::vector<Soa::Client::ModelObject*>& objects,
                                         const std::vector<std::string>& names);
  // The loaded objects are the reply's plain objects.
  Soa::Client::ServiceData loadObjects(const std::vector<std::string>& uids);
  // Items by id with their revisions and, as the filters ask, their datasets.
  GetItemFromIdResponse getItemFromId(const std::vector<GetItemFromIdInfo>& infos, int nRev,
                                      const std::vector<RelationFilter>& pref);
  // New datasets (under a relation to a revision when one is given) and new
  // items with their first revision (Creation.cpp).
  CreateDatasetsResponse createDatasets(const std::vector<DatasetCreateInput>& inputs);
  CreateItemsResponse createItems(const std::map<Soa::Client::ModelObject*, ItemCreateInput>& inputs);
  // New objects of any business-object type, with typed properties.
  CreateResponse createObjects(const std::vector<CreateIn>& inputs);
  // Takes named references off datasets.
  Soa::Client::ServiceData removeNamedReferences(const std::vector<RemoveNamedReferenceInfo>& inputs);

  // The objects' current state; the reply's updated objects.
  Soa::Client::ServiceData refreshObjects(const std::vector<Soa::Client::ModelObject*>& objects);
  // The reply names the deleted UIDs, and a partial error per object kept.
  Soa::Client::ServiceData deleteObjects(const std::vector<Soa::Client::ModelObject*>& objects);
  // The objects the given ones relate to, and those that relate to them.
  RelatedObjectsResponse expandPrimaryObjects(const std::vector<Soa::Client::ModelObject*>& objects,
                                              const std::vector<RelationFilter>& filters);
  RelatedObjectsResponse expandSecondaryObjects(const std::vector<Soa::Client::ModelObject*>& objects,
                                                const std::vector<RelationFilter>& filters);
  // Every named property gets the same values on every object.
  Soa::Client::ServiceData setProperties(const std::vector<Soa::Client::ModelObject*>& objects,
                                         const std::map<std::string, std::vector<std::string>>& values);
  GetDatasetReferencesResponse getDatasetReferences(const std::vector<Soa::Client::ModelObject*>& datasets);
  GetTypeDescriptionsResponse getTypeDescriptions(const std::vector<TypeDescriptionInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
