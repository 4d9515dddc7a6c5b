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

}  // namespace Halden::Services::Core
