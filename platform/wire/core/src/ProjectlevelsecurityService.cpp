#include "halden/services/core/ProjectlevelsecurityService.h"

#include "halden/server/ProjectLevelSecurityStub.h"
#include "halden/services/internal/core/ProjectlevelsecurityService.h"
#include "halden/soa/client/internal/Request.h"

namespace Wire = Halden::Soa::Server;
using Halden::Soa::Client::ModelObject;
using Halden::Soa::Client::Internal::absorb;
using Halden::Soa::Client::Internal::invoke;
using Halden::Soa::Client::Internal::objectOf;
using Halden::Soa::Client::Internal::require;
using Halden::Soa::Client::Internal::uidsOf;

namespace Halden::Services::Core {

namespace {
constexpr const char* kService = "Core-2007-09-ProjectLevelSecurity";
}

ProjectlevelsecurityService* ProjectlevelsecurityService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ProjectlevelsecurityService>(connection, kService);
}

Soa::Client::ServiceData ProjectlevelsecurityService::assignOrRemoveObjects(
    const std::vector<ProjectAssignmentInput>& inputs) {
  std::vector<Wire::ProjectAssignmentRecord> records;
  records.reserve(inputs.size());
  for (const auto& input : inputs)
    records.push_back({uidsOf(input.projects), uidsOf(input.objectsToAssign), uidsOf(input.objectsToRemove)});
  auto reply = invoke(*connection_, kService, "assignOrRemoveObjects", [&](Wire::Server& server) {
    return require<Wire::ProjectLevelSecurityStub>(server, kService).assignOrRemoveObjects(records);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core

namespace Halden::Services::Internal::Core {

namespace {
constexpr const char* kService = "Internal-Core-2007-09-ProjectLevelSecurity";

std::vector<ProjectCriterion> criteria_of(const std::vector<Wire::ProjectCriterionRecord>& records) {
  std::vector<ProjectCriterion> out;
  out.reserve(records.size());
  for (const auto& r : records) out.push_back({r.name, r.value1, r.value2});
  return out;
}

std::vector<Wire::ProjectCriterionRecord> records_of(const std::vector<ProjectCriterion>& criteria) {
  std::vector<Wire::ProjectCriterionRecord> out;
  out.reserve(criteria.size());
  for (const auto& c : criteria) out.push_back({c.name, c.value1, c.value2});
  return out;
}

std::vector<ProjectEntry> entries_of(const std::vector<Wire::ProjectEntryRecord>& records) {
  std::vector<ProjectEntry> out;
  out.reserve(records.size());
  for (const auto& r : records) out.push_back({r.text1, r.text2, criteria_of(r.criteria), r.flag});
  return out;
}
}  // namespace

ProjectlevelsecurityService* ProjectlevelsecurityService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ProjectlevelsecurityService>(connection, kService);
}

GetProjectListResponse ProjectlevelsecurityService::getProjectList() {
  auto reply = invoke(*connection_, kService, "getProjectList", [&](Wire::Server& server) {
    return require<Wire::ProjectLevelSecurityStub>(server, kService).getProjectList();
  });
  GetProjectListResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.entries = entries_of(reply.entries);
  out.projects.reserve(reply.projects.size());
  for (const auto& p : reply.projects)
    out.projects.push_back({objectOf(models, p.project_uid), criteria_of(p.criteria)});
  return out;
}

GetProjectTeamsResponse ProjectlevelsecurityService::getProjectTeams(const std::vector<ModelObject*>& projects) {
  const auto uids = uidsOf(projects);
  auto reply = invoke(*connection_, kService, "getProjectTeams", [&](Wire::Server& server) {
    return require<Wire::ProjectLevelSecurityStub>(server, kService).getProjectTeams(uids);
  });
  GetProjectTeamsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.teams.reserve(reply.teams.size());
  for (const auto& t : reply.teams) out.teams.push_back({t.team, entries_of(t.members)});
  return out;
}

GetProjectDataResponse ProjectlevelsecurityService::getProjectData(const std::vector<ProjectDataInput>& inputs) {
  std::vector<Wire::ProjectDataRequest> requests;
  requests.reserve(inputs.size());
  for (const auto& input : inputs) requests.push_back({input.projectId, records_of(input.criteria)});
  auto reply = invoke(*connection_, kService, "getProjectData", [&](Wire::Server& server) {
    return require<Wire::ProjectLevelSecurityStub>(server, kService).getProjectData(requests);
  });
  GetProjectDataResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.filteredData.reserve(reply.entries.size());
  for (const auto& e : reply.entries)
    out.filteredData.push_back(
        {e.text, Soa::Client::Internal::objectsOf(*connection_->getModelManager(), e.object_uids)});
  return out;
}

}  // namespace Halden::Services::Internal::Core
