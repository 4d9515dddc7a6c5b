// Relative structure of the structure-management service: create or update
// child occurrences, and delete them, in the older and the 2007-12 forms.
#include "halden/server/StructureManagementStub.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Cad-2007-01-StructureManagement";
constexpr const char* kService2 = "Cad-2007-12-StructureManagement";

std::vector<Wire::ChildRecord> child_records(const std::vector<ChildInfo>& children) {
  std::vector<Wire::ChildRecord> records;
  records.reserve(children.size());
  for (const auto& c : children) {
    Wire::ChildRecord record{c.clientId, c.cadOccId, uidOf(c.child), {}, c.occInfo.asRequired, c.occInfo.occTransform,
                             {}};
    record.attributes.reserve(c.occInfo.attrsToSet.size());
    for (const auto& a : c.occInfo.attrsToSet) record.attributes.push_back({a.name, a.value});
    record.notes.reserve(c.occInfo.occNotes.size());
    for (const auto& n : c.occInfo.occNotes) record.notes.push_back({n.noteType, n.noteText});
    records.push_back(std::move(record));
  }
  return records;
}

CreateOrUpdateRelativeStructureResponse saved(Soa::Client::Connection& connection,
                                              const Wire::RelativeStructureReply& reply) {
  CreateOrUpdateRelativeStructureResponse out;
  out.serviceData = absorb(connection, reply.data);
  auto& models = *connection.getModelManager();
  for (const auto& [client_id, uid] : reply.threads)
    out.output[client_id] =
        dynamic_cast<Soa::Client::Model::PSOccurrenceThread*>(Soa::Client::Internal::objectOf(models, uid));
  return out;
}
}  // namespace

CreateOrUpdateRelativeStructureResponse StructuremanagementService::createOrUpdateRelativeStructure(
    const std::vector<RelativeStructureInfo>& info, const std::string& bomViewTypeName, bool complete,
    const RelativeStructurePref& pref) {
  std::vector<Wire::RelativeStructureRecord> records;
  records.reserve(info.size());
  for (const auto& i : info) records.push_back({uidOf(i.parent), child_records(i.childInfo), i.precise});
  const Wire::RelativeStructureOptions options{pref.cadOccIdAttrName, pref.objectTypes};
  auto reply = invoke(*connection_, kService, "createOrUpdateRelativeStructure", [&](Wire::Server& server) {
    return require<Wire::StructureManagementStub>(server, kService)
        .createOrUpdateRelativeStructure(records, bomViewTypeName, complete, options);
  });
  return saved(*connection_, reply);
}

CreateOrUpdateRelativeStructureResponse StructuremanagementService::createOrUpdateRelativeStructure(
    const std::vector<RelativeStructureInfo2>& info, const std::string& bomViewTypeName, bool complete,
    const RelativeStructurePref2& pref) {
  std::vector<Wire::RelativeStructureRecord2> records;
  records.reserve(info.size());
  for (const auto& i : info)
    records.push_back({i.lastModifiedOfBVR, uidOf(i.parent), child_records(i.childInfo), i.precise});
  const Wire::RelativeStructureOptions2 options{pref.flag, pref.cadOccIdAttrName, pref.objectTypes};
  auto reply = invoke(*connection_, kService2, "createOrUpdateRelativeStructure", [&](Wire::Server& server) {
    return require<Wire::StructureManagementStub>(server, kService2)
        .createOrUpdateRelativeStructure2(records, bomViewTypeName, complete, options);
  });
  return saved(*connection_, reply);
}

Soa::Client::ServiceData StructuremanagementService::deleteRelativeStructure(
    const std::vector<DeleteRelativeStructureInfo>& info, const std::string& bomViewTypeName,
    const RelativeStructurePref& pref) {
  std::vector<Wire::DeleteStructureRecord> records;
  records.reserve(info.size());
  for (const auto& i : info) records.push_back({uidOf(i.parent), i.childInfo});
  const Wire::RelativeStructureOptions options{pref.cadOccIdAttrName, pref.objectTypes};
  auto reply = invoke(*connection_, kService, "deleteRelativeStructure", [&](Wire::Server& server) {
    return require<Wire::StructureManagementStub>(server, kService)
        .deleteRelativeStructure(records, bomViewTypeName, options);
  });
  return absorb(*connection_, reply);
}

Soa::Client::ServiceData StructuremanagementService::deleteRelativeStructure(
    const std::vector<DeleteRelativeStructureInfo2>& info, const std::string& bomViewTypeName,
    const RelativeStructurePref2& pref) {
  std::vector<Wire::DeleteStructureRecord2> records;
  records.reserve(info.size());
  for (const auto& i : info) records.push_back({i.lastModifiedOfBVR, uidOf(i.parent), i.childInfo});
  const Wire::RelativeStructureOptions2 options{pref.flag, pref.cadOccIdAttrName, pref.objectTypes};
  auto reply = invoke(*connection_, kService2, "deleteRelativeStructure", [&](Wire::Server& server) {
    return require<Wire::StructureManagementStub>(server, kService2)
        .deleteRelativeStructure2(records, bomViewTypeName, options);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Cad
