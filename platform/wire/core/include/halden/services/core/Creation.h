// Records of the core creation operations (datasets, items).
#pragma once

#include <map>
#include <string>

#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

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

}  // namespace Halden::Services::Core
