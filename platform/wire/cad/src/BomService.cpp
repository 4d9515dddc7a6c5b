// BOM windows, line expansion, lines by path and configured revisions of the
// structure-management service.
#include "halden/server/StructureManagementStub.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::ModelObject;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::objectsOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
using Soa::Client::Internal::uidsOf;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Cad-2007-01-StructureManagement";

Wire::RevisionRuleConfigRecord config_record(const RevisionRuleConfigInfo& config) {
  return {config.clientId,
          uidOf(config.revRule),
          config.unitNo,
          config.date,
          config.today,
          uidOf(config.endItem),
          uidOf(config.endItemRevision),
          uidsOf(config.overrideFolders)};
}

BomLineData line_data(Soa::Client::ModelManager& models, const Wire::BomLineData& wire) {
  return {objectOf(models, wire.line_uid), objectOf(models, wire.item_revision_uid),
          objectsOf(models, wire.dataset_uids)};
}
}  // namespace

CreateBomWindowsResponse StructuremanagementService::createBomWindows(const std::vector<CreateBomWindowsInfo>& info) {
  std::vector<Wire::BomWindowRequest> requests;
  requests.reserve(info.size());
  for (const auto& i : info)
    requests.push_back(
        {i.clientId, uidOf(i.item), uidOf(i.itemRev), uidOf(i.bomView), config_record(i.revRuleConfigInfo)});
  auto reply = invoke(*connection_, kService, "createBomWindows", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).createBomWindows(requests);
  });
  CreateBomWindowsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({o.client_id, objectOf(models, o.window_uid), objectOf(models, o.top_line_uid)});
  return out;
}

Soa::Client::ServiceData StructuremanagementService::closeBomWindows(const std::vector<ModelObject*>& windows) {
  const auto uids = uidsOf(windows);
  auto reply = invoke(*connection_, kService, "closeBomWindows", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).closeBomWindows(uids);
  });
  return absorb(*connection_, reply);
}

ExpandBomLinesResponse StructuremanagementService::expandBomLinesOneLevel(const std::vector<ModelObject*>& lines,
                                                                          const ExpandBomLinesPref& pref) {
  const auto uids = uidsOf(lines);
  Wire::ExpandInfo expand{pref.expandRelatedData, {}};
  expand.filters.reserve(pref.filters.size());
  for (const auto& f : pref.filters) expand.filters.push_back({f.relationName, f.objectTypeNames});
  auto reply = invoke(*connection_, kService, "expandBomLinesOneLevel", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).expandBomLinesOneLevel(uids, expand);
  });
  ExpandBomLinesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs) {
    ExpandBomLinesOutput output{line_data(models, o.parent), {}};
    output.children.reserve(o.children.size());
    for (const auto& child : o.children) output.children.push_back(line_data(models, child));
    out.output.push_back(std::move(output));
  }
  return out;
}

GetBomLinesByPathResponse StructuremanagementService::getBomLinesByPath(
    const std::vector<GetBomLinesByPathInfo>& info) {
  std::vector<Wire::BomPathRequest> requests;
  requests.reserve(info.size());
  for (const auto& i : info) {
    Wire::BomPathRequest request{i.clientId, uidOf(i.scope), i.flag, {}};
    for (const auto& p : i.paths) request.entries.push_back({p.name, p.path});
    requests.push_back(std::move(request));
  }
  auto reply = invoke(*connection_, kService, "getBomLinesByPath", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).getBomLinesByPath(requests);
  });
  GetBomLinesByPathResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [key, uid] : reply.lines) out.lines[key] = objectOf(models, uid);
  return out;
}

GetConfiguredRevisionsResponse StructuremanagementService::getConfiguredRevisions(
    const std::vector<ConfiguredRevisionInfo>& info) {
  std::vector<Wire::ConfiguredRevisionRequest> requests;
  requests.reserve(info.size());
  for (const auto& i : info) requests.push_back({uidOf(i.item), uidOf(i.revRule)});
  auto reply = invoke(*connection_, kService, "getConfiguredRevisions", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).getConfiguredRevisions(requests);
  });
  GetConfiguredRevisionsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({objectOf(models, o.item_uid),
                          o.rule_uid.empty()
                              ? nullptr
                              : dynamic_cast<Soa::Client::Model::RevisionRule*>(
                                    Soa::Client::Internal::Access::objectOf(models, o.rule_uid, {"RevisionRule"})),
                          objectOf(models, o.revision_uid)});
  return out;
}

}  // namespace Halden::Services::Cad
