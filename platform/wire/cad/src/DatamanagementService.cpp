#include "halden/services/cad/DatamanagementService.h"

#include "halden/server/CadDataManagementStub.h"
#include "halden/services/core/internal/Related.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::ModelObject;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::objectsOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidsOf;

namespace {

constexpr const char* kService = "Cad-2007-01-DataManagement";

ExpandItemsRevisionEntry revision_entry(Soa::Client::ModelManager& models, const Soa::Server::ExpandedRevision& r) {
  return {objectOf(models, r.revision_uid), objectsOf(models, r.dataset_uids)};
}

}  // namespace

DatamanagementService* DatamanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<DatamanagementService>(connection, kService);
}

RelatedObjectsResponse DatamanagementService::getRelatedObjects(const std::vector<ModelObject*>& objects,
                                                                const std::vector<RelationFilter>& filters) {
  const auto uids = uidsOf(objects);
  const auto records = Core::Internal::filterRecordsOf(filters);
  auto reply = invoke(*connection_, kService, "getRelatedObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::CadDataManagementStub>(server, kService).getRelatedObjects(uids, records);
  });
  return Core::Internal::relatedObjectsOf(*connection_, reply);
}

ExpandItemsResponse DatamanagementService::expandItems(const std::vector<ModelObject*>& items,
                                                       const ExpandItemsPref& pref) {
  const auto uids = uidsOf(items);
  const Soa::Server::ExpandItemsPreference preference{pref.flag, pref.relatedDataMode,
                                                      Core::Internal::filterRecordsOf(pref.filters)};
  auto reply = invoke(*connection_, kService, "expandItems", [&](Soa::Server::Server& server) {
    return require<Soa::Server::CadDataManagementStub>(server, kService).expandItems(uids, preference);
  });
  ExpandItemsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& output : reply.outputs) {
    ExpandItemsOutput entry{objectOf(models, output.input_uid), objectsOf(models, output.objects), {}, {}};
    entry.items.reserve(output.items.size());
    for (const auto& item : output.items) {
      ExpandItemsItemEntry expanded{objectOf(models, item.item_uid), {}};
      expanded.itemRevisions.reserve(item.revisions.size());
      for (const auto& r : item.revisions) expanded.itemRevisions.push_back(revision_entry(models, r));
      entry.items.push_back(std::move(expanded));
    }
    entry.itemRevisions.reserve(output.revisions.size());
    for (const auto& r : output.revisions) entry.itemRevisions.push_back(revision_entry(models, r));
    out.output.push_back(std::move(entry));
  }
  return out;
}

}  // namespace Halden::Services::Cad
