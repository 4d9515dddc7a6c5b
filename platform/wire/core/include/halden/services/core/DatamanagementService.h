#pragma once

#include <string>
#include <vector>

#include "halden/services/core/Creation.h"
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

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
