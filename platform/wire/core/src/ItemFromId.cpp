#include "halden/server/DataManagementStub.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

namespace {
constexpr const char* kService = "Core-2006-03-DataManagement";
}  // namespace

GetItemFromIdResponse DatamanagementService::getItemFromId(const std::vector<GetItemFromIdInfo>& infos, int nRev,
                                                           const std::vector<RelationFilter>& pref) {
  std::vector<Soa::Server::ItemIdRequest> ids;
  ids.reserve(infos.size());
  for (const auto& info : infos) ids.push_back({info.itemId, info.revIds});
  std::vector<Soa::Server::RelationFilterRecord> filters;
  filters.reserve(pref.size());
  for (const auto& f : pref) filters.push_back({f.relationName, f.objectTypeNames});

  auto reply = Soa::Client::Internal::invoke(*connection_, kService, "getItemFromId", [&](Soa::Server::Server& server) {
    return Soa::Client::Internal::require<Soa::Server::DataManagementStub>(server, kService)
        .getItemFromId(ids, nRev, filters);
  });
  GetItemFromIdResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& output : reply.outputs) {
    GetItemFromIdOutput item{Soa::Client::Internal::objectOf(models, output.item_uid), {}};
    item.itemRevOutput.reserve(output.revisions.size());
    for (const auto& revision : output.revisions) {
      GetItemFromIdItemRevOutput entry{Soa::Client::Internal::objectOf(models, revision.revision_uid), {}};
      entry.datasets.reserve(revision.dataset_uids.size());
      for (const auto& uid : revision.dataset_uids)
        entry.datasets.push_back(Soa::Client::Internal::objectOf(models, uid));
      item.itemRevOutput.push_back(std::move(entry));
    }
    out.output.push_back(std::move(item));
  }
  return out;
}

}  // namespace Halden::Services::Core
