#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Internal::Core {

// Three texts whose meaning is the server's.
struct ProjectCriterion {
  std::string name;
  std::string value1;
  std::string value2;
};

struct ProjectEntry {
  std::string text1;
  std::string text2;
  std::vector<ProjectCriterion> criteria;
  bool flag = false;
};

struct ProjectInfo {
  Soa::Client::ModelObject* project = nullptr;  // an HX_Project
  std::vector<ProjectCriterion> criteria;
};

struct GetProjectListResponse {
  std::vector<ProjectEntry> entries;
  std::vector<ProjectInfo> projects;  // in the server's order
  Soa::Client::ServiceData serviceData;
};

struct ProjectTeam {
  std::string team;
  std::vector<ProjectEntry> members;
};

struct GetProjectTeamsResponse {
  std::vector<ProjectTeam> teams;
  Soa::Client::ServiceData serviceData;
};

struct ProjectDataInput {
  std::string projectId;
  std::vector<ProjectCriterion> criteria;
};

struct FilteredProjectData {
  std::string text;
  std::vector<Soa::Client::ModelObject*> objects;  // entries may be null
};

struct GetProjectDataResponse {
  std::vector<FilteredProjectData> filteredData;
  Soa::Client::ServiceData serviceData;
};

class ProjectlevelsecurityService {
 public:
  static ProjectlevelsecurityService* getService(Soa::Client::Connection* connection);
  explicit ProjectlevelsecurityService(Soa::Client::Connection* connection) : connection_(connection) {}

  GetProjectListResponse getProjectList();
  GetProjectTeamsResponse getProjectTeams(const std::vector<Soa::Client::ModelObject*>& projects);
  GetProjectDataResponse getProjectData(const std::vector<ProjectDataInput>& inputs);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Internal::Core
