#include "halden/services/cad/DatamanagementService.h"

#include "halden/server/CadDataManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::Access;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
using Soa::Client::Model::CadAttrMappingDefinition;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Cad-2007-01-DataManagement";

CadAttrMappingDefinition* definitionOf(Soa::Client::ModelManager& models, const std::string& uid) {
  if (uid.empty()) return nullptr;
  return dynamic_cast<CadAttrMappingDefinition*>(Access::objectOf(models, uid, {"CadAttrMappingDefinition"}));
}
}  // namespace

GetAttrMappingDefinitionsResponse DatamanagementService::getAttrMappingDefinitions(
    const std::vector<AttrMappingContext>& contexts) {
  std::vector<Wire::AttrMappingContextRecord> records;
  records.reserve(contexts.size());
  for (const auto& c : contexts) records.push_back({c.text1, c.text2, c.flag});
  auto reply = invoke(*connection_, kService, "getAttrMappingDefinitions", [&](Wire::Server& server) {
    return require<Wire::CadDataManagementStub>(server, kService).getAttrMappingDefinitions(records);
  });
  GetAttrMappingDefinitionsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs) {
    AttrMappingDefinitionsOutput output{o.text1, o.text2, {}};
    output.mappings.reserve(o.mappings.size());
    for (const auto& m : o.mappings) {
      const auto& d = m.description;
      output.mappings.push_back({definitionOf(models, m.definition_uid),
                                 {d.text1, d.text2, d.text3, d.value_type, d.int1, d.flag, d.is_array,
                                  objectOf(models, d.lov_uid), d.flag_a, d.flag_b, d.flag_c, d.int2, d.int3, d.texts}});
    }
    out.output.push_back(std::move(output));
  }
  return out;
}

ResolveAttrMappingsResponse DatamanagementService::resolveAttrMappings(
    const std::vector<ResolveAttrMappingsInfo>& infos) {
  std::vector<Wire::ResolveAttrMappingsRequest> requests;
  requests.reserve(infos.size());
  for (const auto& info : infos) {
    Wire::ResolveAttrMappingsRequest r{uidOf(info.dataset), uidOf(info.itemRevision), {}};
    r.definition_uids.reserve(info.mappings.size());
    for (const auto* d : info.mappings) r.definition_uids.push_back(uidOf(d));
    requests.push_back(std::move(r));
  }
  auto reply = invoke(*connection_, kService, "resolveAttrMappings", [&](Wire::Server& server) {
    return require<Wire::CadDataManagementStub>(server, kService).resolveAttrMappings(requests);
  });
  ResolveAttrMappingsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output.reserve(reply.outputs.size());
  for (const auto& o : reply.outputs) {
    ResolveAttrMappingsOutput output{objectOf(models, o.dataset_uid), {}};
    output.resolved.reserve(o.resolved.size());
    for (const auto& r : o.resolved)
      output.resolved.push_back({r.title, objectOf(models, r.source_uid), r.property_name});
    out.output.push_back(std::move(output));
  }
  return out;
}

}  // namespace Halden::Services::Cad
