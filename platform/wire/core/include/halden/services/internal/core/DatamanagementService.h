// Internal data management: generic creation of relations.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Internal::Core {

struct CreateRelationsInput {
  std::string clientId;
  std::string relationType;
  Soa::Client::ModelObject* primaryObject = nullptr;
  Soa::Client::ModelObject* secondaryObject = nullptr;
  Soa::Client::ModelObject* userData = nullptr;
};

struct CreateRelationsOutput {
  std::string clientId;
  Soa::Client::ModelObject* relation = nullptr;
};

struct CreateRelationsResponse {
  std::vector<CreateRelationsOutput> output;
  Soa::Client::ServiceData serviceData;
};

class DatamanagementService {
 public:
  static DatamanagementService* getService(Soa::Client::Connection* connection);
  explicit DatamanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  CreateRelationsResponse createRelations(const std::vector<CreateRelationsInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Internal::Core
