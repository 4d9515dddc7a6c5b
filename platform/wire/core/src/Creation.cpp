#include "halden/server/DataManagementStub.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Core-2006-03-DataManagement";
}  // namespace

CreateDatasetsResponse DatamanagementService::createDatasets(const std::vector<DatasetCreateInput>& inputs) {
  std::vector<Wire::DatasetCreateRecord> records;
  records.reserve(inputs.size());
  for (const auto& in : inputs)
    records.push_back({in.text1, uidOf(in.object1), in.text2, in.text3, in.text4, in.text5, uidOf(in.object2)});
  auto reply = invoke(*connection_, kService, "createDatasets", [&](Wire::Server& server) {
    return require<Wire::DataManagementStub>(server, kService).createDatasets(records);
  });
  CreateDatasetsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [id, uid] : reply.output) out.output[id] = objectOf(models, uid);
  return out;
}

CreateItemsResponse DatamanagementService::createItems(
    const std::map<Soa::Client::ModelObject*, ItemCreateInput>& inputs) {
  std::map<std::string, Wire::ItemCreateRecord> records;
  for (const auto& [key, in] : inputs) records[uidOf(key)] = {in.text1, in.text2, in.text3, in.attributes};
  auto reply = invoke(*connection_, kService, "createItems", [&](Wire::Server& server) {
    return require<Wire::DataManagementStub>(server, kService).createItems(records);
  });
  CreateItemsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [key, created] : reply.output)
    out.output[objectOf(models, key)] = {objectOf(models, created.item_uid), objectOf(models, created.revision_uid)};
  return out;
}

CreateResponse DatamanagementService::createObjects(const std::vector<CreateIn>& inputs) {
  std::vector<Wire::ObjectCreateRecord> records;
  records.reserve(inputs.size());
  for (const auto& in : inputs) {
    const CreateInput& d = in.data;
    Wire::ObjectCreateRecord record{
        in.clientId, d.boName, d.stringProps, d.stringArrayProps, d.intProps, d.boolProps, d.dateProps, {}, {}};
    for (const auto& [name, object] : d.tagProps) record.references[name] = uidOf(object);
    for (const auto& [name, objects] : d.tagArrayProps)
      record.reference_arrays[name] = Soa::Client::Internal::uidsOf(objects);
    records.push_back(std::move(record));
  }
  auto reply = invoke(*connection_, kService, "createObjects", [&](Wire::Server& server) {
    return require<Wire::DataManagementStub>(server, kService).createObjects(records);
  });
  CreateResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& created : reply.outputs)
    out.output.push_back({created.client_id, Soa::Client::Internal::objectsOf(models, created.uids)});
  return out;
}

Soa::Client::ServiceData DatamanagementService::removeNamedReferences(
    const std::vector<RemoveNamedReferenceInfo>& inputs) {
  std::vector<Wire::RemoveNamedReferencesRecord> records;
  records.reserve(inputs.size());
  for (const auto& in : inputs) {
    Wire::RemoveNamedReferencesRecord record{in.clientId, uidOf(in.dataset), {}};
    record.references.reserve(in.references.size());
    for (const auto& r : in.references)
      record.references.push_back({r.clientId, r.referenceName, uidOf(r.target), r.deleteTarget});
    records.push_back(std::move(record));
  }
  auto reply = invoke(*connection_, kService, "removeNamedReferences", [&](Wire::Server& server) {
    return require<Wire::DataManagementStub>(server, kService).removeNamedReferences(records);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core
