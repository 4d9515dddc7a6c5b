#pragma once

#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

// Objects to join and to leave every project of the record.
struct ProjectAssignmentInput {
  std::vector<Soa::Client::ModelObject*> projects;
  std::vector<Soa::Client::ModelObject*> objectsToAssign;
  std::vector<Soa::Client::ModelObject*> objectsToRemove;
};

class ProjectlevelsecurityService {
 public:
  static ProjectlevelsecurityService* getService(Soa::Client::Connection* connection);
  explicit ProjectlevelsecurityService(Soa::Client::Connection* connection) : connection_(connection) {}

  Soa::Client::ServiceData assignOrRemoveObjects(const std::vector<ProjectAssignmentInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
