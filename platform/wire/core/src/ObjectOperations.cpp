// Core data management's operations on objects: refresh, delete, related
// objects, property writing, dataset references and type descriptions.
#include "halden/server/DataManagementStub.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/internal/Related.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Internal::filterRecordsOf;
using Internal::relatedObjectsOf;
using Soa::Client::ModelObject;
using Soa::Client::ServiceData;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidsOf;

namespace {
constexpr const char* kService = "Core-2006-03-DataManagement";
}  // namespace

ServiceData DatamanagementService::refreshObjects(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "refreshObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).refreshObjects(uids);
  });
  return absorb(*connection_, reply);
}

ServiceData DatamanagementService::deleteObjects(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "deleteObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).deleteObjects(uids);
  });
  return absorb(*connection_, reply);
}

RelatedObjectsResponse DatamanagementService::expandPrimaryObjects(const std::vector<ModelObject*>& objects,
                                                                   const std::vector<RelationFilter>& filters) {
  const auto uids = uidsOf(objects);
  const auto records = filterRecordsOf(filters);
  auto reply = invoke(*connection_, kService, "expandPrimaryObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).expandPrimaryObjects(uids, records);
  });
  return relatedObjectsOf(*connection_, reply);
}

RelatedObjectsResponse DatamanagementService::expandSecondaryObjects(const std::vector<ModelObject*>& objects,
                                                                     const std::vector<RelationFilter>& filters) {
  const auto uids = uidsOf(objects);
  const auto records = filterRecordsOf(filters);
  auto reply = invoke(*connection_, kService, "expandSecondaryObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).expandSecondaryObjects(uids, records);
  });
  return relatedObjectsOf(*connection_, reply);
}

ServiceData DatamanagementService::setProperties(const std::vector<ModelObject*>& objects,
                                                 const std::map<std::string, std::vector<std::string>>& values) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "setProperties", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).setProperties(uids, values);
  });
  return absorb(*connection_, reply);
}

GetDatasetReferencesResponse DatamanagementService::getDatasetReferences(const std::vector<ModelObject*>& datasets) {
  const auto uids = uidsOf(datasets);
  auto reply = invoke(*connection_, kService, "getDatasetReferences", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).getDatasetReferences(uids);
  });
  GetDatasetReferencesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& output : reply.outputs) {
    DatasetReferencesOutput entry{objectOf(models, output.dataset_uid), {}};
    entry.references.reserve(output.references.size());
    for (const auto& r : output.references) entry.references.push_back({r.name, r.is_file, r.file_name, r.uid});
    out.output.push_back(std::move(entry));
  }
  return out;
}

GetTypeDescriptionsResponse DatamanagementService::getTypeDescriptions(
    const std::vector<TypeDescriptionInput>& inputs) {
  std::vector<Soa::Server::TypeDescriptionRequestRecord> requests;
  requests.reserve(inputs.size());
  for (const auto& input : inputs) requests.push_back({input.typeName, input.names});
  auto reply = invoke(*connection_, kService, "getTypeDescriptions", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).getTypeDescriptions(requests);
  });
  GetTypeDescriptionsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (auto& [type, entries] : reply.types) {
    auto& values = out.descriptions[type];
    values.reserve(entries.size());
    for (auto& entry : entries) values.push_back({std::move(entry.name), std::move(entry.values)});
  }
  return out;
}

}  // namespace Halden::Services::Core
