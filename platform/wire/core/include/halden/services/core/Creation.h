// Records of the core creation operations (datasets, items).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/common/DateTime.h"

namespace Halden::Services::Core {

struct DatasetCreateInput {
  std::string text1;
  Soa::Client::ModelObject* object1 = nullptr;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  Soa::Client::ModelObject* object2 = nullptr;
};

struct ItemCreateInput {
  std::string text1;
  std::string text2;
  std::string text3;
  std::map<std::string, std::string> attributes;
};

struct CreateDatasetsResponse {
  std::map<std::string, Soa::Client::ModelObject*> output;  // created dataset by the input's text1
  Soa::Client::ServiceData serviceData;
};

struct CreatedItem {
  Soa::Client::ModelObject* item = nullptr;
  Soa::Client::ModelObject* itemRevision = nullptr;
};

struct CreateItemsResponse {
  std::map<Soa::Client::ModelObject*, CreatedItem> output;  // by the input's key
  Soa::Client::ServiceData serviceData;
};

// A new object of a business-object type, with its typed property values.
struct CreateInput {
  std::string boName;
  std::map<std::string, std::string> stringProps;
  std::map<std::string, std::vector<std::string>> stringArrayProps;
  std::map<std::string, int> intProps;
  std::map<std::string, bool> boolProps;
  std::map<std::string, Soa::Common::DateTime> dateProps;
  std::map<std::string, Soa::Client::ModelObject*> tagProps;
  std::map<std::string, std::vector<Soa::Client::ModelObject*>> tagArrayProps;
};

struct CreateIn {
  std::string clientId;
  CreateInput data;
};

struct CreateOut {
  std::string clientId;
  std::vector<Soa::Client::ModelObject*> objects;  // what the input created, the object itself first
};

struct CreateResponse {
  std::vector<CreateOut> output;  // one per input the server created
  Soa::Client::ServiceData serviceData;
};

// A named reference to take off a dataset.
struct NamedReferenceInfo {
  std::string clientId;
  std::string referenceName;
  Soa::Client::ModelObject* target = nullptr;
  bool deleteTarget = false;
};

struct RemoveNamedReferenceInfo {
  std::string clientId;
  Soa::Client::ModelObject* dataset = nullptr;
  std::vector<NamedReferenceInfo> references;
};

}  // namespace Halden::Services::Core
