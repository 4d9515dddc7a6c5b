#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

class DatamanagementService {
 public:
  static DatamanagementService* getService(Soa::Client::Connection* connection);
  explicit DatamanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  // An empty name list loads the standard properties of the policy in force.
  Soa::Client::ServiceData getProperties(const std::vector<Soa::Client::ModelObject*>& objects,
                                         const std::vector<std::string>& names);
  // The loaded objects are the reply's plain objects.
  Soa::Client::ServiceData loadObjects(const std::vector<std::string>& uids);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
