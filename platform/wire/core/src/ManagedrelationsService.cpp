#include "halden/services/core/ManagedrelationsService.h"

#include "halden/server/InternalDataManagementStub.h"
#include "halden/server/ManagedRelationsStub.h"
#include "halden/services/internal/core/DatamanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

namespace Wire = Soa::Server;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::objectsOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
using Soa::Client::Internal::uidsOf;

namespace {
constexpr const char* kService = "Core-2007-06-ManagedRelations";

std::vector<TraceTreeNode> tree_of(Soa::Client::ModelManager& models,
                                   const std::vector<Wire::TraceTreeNodeRecord>& wire) {
  std::vector<TraceTreeNode> tree;
  tree.reserve(wire.size());
  for (const auto& node : wire) tree.push_back({objectOf(models, node.parent_uid), objectsOf(models, node.child_uids)});
  return tree;
}
}  // namespace

ManagedrelationsService* ManagedrelationsService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ManagedrelationsService>(connection, kService);
}

TraceReportResponse ManagedrelationsService::getTraceReport(const TraceReportInput& input) {
  const Wire::TraceReportRequest request{uidOf(input.object), input.kind, input.depth};
  auto reply = invoke(*connection_, kService, "getTraceReport", [&](Wire::Server& server) {
    return require<Wire::ManagedRelationsStub>(server, kService).getTraceReport(request);
  });
  TraceReportResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.definingTree = tree_of(models, reply.defining);
  out.indirectDefiningTree = tree_of(models, reply.indirect_defining);
  out.complyingTree = tree_of(models, reply.complying);
  out.indirectComplyingTree = tree_of(models, reply.indirect_complying);
  return out;
}

CreateTraceLinkResponse ManagedrelationsService::createTraceLink(const std::vector<TraceLinkCreateInput>& inputs) {
  std::vector<Wire::TraceLinkCreateRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs)
    records.push_back({i.text1, i.text2, uidsOf(i.primaryObjects), uidsOf(i.secondaryObjects)});
  auto reply = invoke(*connection_, kService, "createTraceLink", [&](Wire::Server& server) {
    return require<Wire::ManagedRelationsStub>(server, kService).createTraceLink(records);
  });
  CreateTraceLinkResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.output = objectsOf(*connection_->getModelManager(), reply.objects);
  return out;
}

Soa::Client::ServiceData ManagedrelationsService::modifyTraceLink(const std::vector<TraceLinkModifyInput>& inputs) {
  std::vector<Wire::TraceLinkModifyRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs)
    records.push_back({uidOf(i.traceLink), uidsOf(i.list1), uidsOf(i.list2), uidsOf(i.list3), uidsOf(i.list4)});
  auto reply = invoke(*connection_, kService, "modifyTraceLink", [&](Wire::Server& server) {
    return require<Wire::ManagedRelationsStub>(server, kService).modifyTraceLink(records);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core

namespace Halden::Services::Internal::Core {

namespace {
constexpr const char* kService = "Internal-Core-2007-12-DataManagement";
}

DatamanagementService* DatamanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<DatamanagementService>(connection, kService);
}

CreateRelationsResponse DatamanagementService::createRelations(const std::vector<CreateRelationsInput>& inputs) {
  using Soa::Client::Internal::uidOf;
  namespace Wire = Soa::Server;
  std::vector<Wire::RelationCreateRecord> records;
  records.reserve(inputs.size());
  for (const auto& i : inputs)
    records.push_back(
        {i.clientId, i.relationType, uidOf(i.primaryObject), uidOf(i.secondaryObject), uidOf(i.userData)});
  auto reply = Soa::Client::Internal::invoke(*connection_, kService, "createRelations", [&](Wire::Server& server) {
    return Soa::Client::Internal::require<Wire::InternalDataManagementStub>(server, kService).createRelations(records);
  });
  CreateRelationsResponse out;
  out.serviceData = Soa::Client::Internal::absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs)
    out.output.push_back({o.client_id, Soa::Client::Internal::objectOf(models, o.relation_uid)});
  return out;
}

}  // namespace Halden::Services::Internal::Core
