// Requirements management: exporting requirement full text to applications.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Requirementsmanagement {

struct ExportToApplicationInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string applicationFormat;
  std::string text;
};

struct ExportToApplicationResponse {
  std::vector<std::string> transientFileReadTickets;
  Soa::Client::ServiceData serviceData;
};

class RequirementsmanagementService {
 public:
  static RequirementsmanagementService* getService(Soa::Client::Connection* connection);
  explicit RequirementsmanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  ExportToApplicationResponse exportToApplication(const std::vector<ExportToApplicationInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Requirementsmanagement
