// BOM windows, line expansion, lines by path and configured revisions of the
// structure-management service.
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::ModelObject;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Cad-2007-01-StructureManagement";

std::string uid_of(const ModelObject* object) { return object ? object->getUid() : std::string(); }

std::vector<std::string> uids_of(const std::vector<ModelObject*>& objects) {
  std::vector<std::string> uids;
  uids.reserve(objects.size());
  for (const auto* o : objects) uids.push_back(uid_of(o));
  return uids;
}

ModelObject* object_of(Soa::Client::ModelManager& models, const std::string& uid) {
  return uid.empty() ? nullptr : models.objectOf(uid, {});
}

std::vector<ModelObject*> objects_of(Soa::Client::ModelManager& models, const std::vector<std::string>& uids) {
  std::vector<ModelObject*> objects;
  objects.reserve(uids.size());
  for (const auto& uid : uids) objects.push_back(object_of(models, uid));
  return objects;
}

Wire::RevisionRuleConfigRecord config_record(const RevisionRuleConfigInfo& config) {
  return {config.clientId,
          uid_of(config.revRule),
          config.unitNo,
          config.date,
          config.today,
          uid_of(config.endItem),
          uid_of(config.endItemRevision),
          uids_of(config.overrideFolders)};
}

BomLineData line_data(Soa::Client::ModelManager& models, const Wire::BomLineData& wire) {
  return {object_of(models, wire.line_uid), object_of(models, wire.item_revision_uid),
          objects_of(models, wire.dataset_uids)};
}
}  // namespace

CreateBomWindowsResponse StructuremanagementService::createBomWindows(const std::vector<CreateBomWindowsInfo>& info) {
  std::vector<Wire::BomWindowRequest> requests;
  requests.reserve(info.size());
  for (const auto& i : info)
    requests.push_back(
        {i.clientId, uid_of(i.item), uid_of(i.itemRev), uid_of(i.bomView), config_record(i.revRuleConfigInfo)});
  auto reply = invoke(*connection_, kService, "createBomWindows", [&](Wire::Server& server) {
    return require(server.structuremanagement, kService).createBomWindows(requests);
  });
  CreateBomWindowsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({o.client_id, object_of(models, o.window_uid), object_of(models, o.top_line_uid)});
  return out;
}

Soa::Client::ServiceData StructuremanagementService::closeBomWindows(const std::vector<ModelObject*>& windows) {
  const auto uids = uids_of(windows);
  auto reply = invoke(*connection_, kService, "closeBomWindows", [&](Wire::Server& server) {
    return require(server.structuremanagement, kService).closeBomWindows(uids);
  });
  return absorb(*connection_, reply);
}

ExpandBomLinesResponse StructuremanagementService::expandBomLinesOneLevel(const std::vector<ModelObject*>& lines,
                                                                          const ExpandBomLinesPref& pref) {
  const auto uids = uids_of(lines);
  Wire::ExpandInfo expand{pref.expandRelatedData, {}};
  expand.filters.reserve(pref.filters.size());
  for (const auto& f : pref.filters) expand.filters.push_back({f.relationName, f.objectTypeNames});
  auto reply = invoke(*connection_, kService, "expandBomLinesOneLevel", [&](Wire::Server& server) {
    return require(server.structuremanagement, kService).expandBomLinesOneLevel(uids, expand);
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
    Wire::BomPathRequest request{i.clientId, uid_of(i.scope), i.flag, {}};
    for (const auto& p : i.paths) request.entries.push_back({p.name, p.path});
    requests.push_back(std::move(request));
  }
  auto reply = invoke(*connection_, kService, "getBomLinesByPath", [&](Wire::Server& server) {
    return require(server.structuremanagement, kService).getBomLinesByPath(requests);
  });
  GetBomLinesByPathResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [key, uid] : reply.lines) out.lines[key] = object_of(models, uid);
  return out;
}

GetConfiguredRevisionsResponse StructuremanagementService::getConfiguredRevisions(
    const std::vector<ConfiguredRevisionInfo>& info) {
  std::vector<Wire::ConfiguredRevisionRequest> requests;
  requests.reserve(info.size());
  for (const auto& i : info) requests.push_back({uid_of(i.item), uid_of(i.revRule)});
  auto reply = invoke(*connection_, kService, "getConfiguredRevisions", [&](Wire::Server& server) {
    return require(server.structuremanagement, kService).getConfiguredRevisions(requests);
  });
  GetConfiguredRevisionsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({object_of(models, o.item_uid),
                          o.rule_uid.empty() ? nullptr
                                             : dynamic_cast<Soa::Client::Model::RevisionRule*>(
                                                   models.objectOf(o.rule_uid, {"RevisionRule"})),
                          object_of(models, o.revision_uid)});
  return out;
}

}  // namespace Halden::Services::Cad
