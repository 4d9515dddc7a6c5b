#include "halden/services/cad/StructuremanagementService.h"

#include "halden/server/StructureManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Cad-2007-01-StructureManagement";
}

StructuremanagementService* StructuremanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<StructuremanagementService>(connection, kService);
}

GetRevisionRulesResponse StructuremanagementService::getRevisionRules() {
  auto reply = invoke(*connection_, kService, "getRevisionRules", [&](Wire::Server& server) {
    return require<Soa::Server::StructureManagementStub>(server, kService).getRevisionRules();
  });
  GetRevisionRulesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto* models = connection_->getModelManager();
  out.output.reserve(reply.rules.size());
  for (const auto& uid : reply.rules)
    out.output.push_back({uid.empty() ? nullptr
                                      : dynamic_cast<Soa::Client::Model::RevisionRule*>(
                                            Soa::Client::Internal::Access::objectOf(*models, uid, {"RevisionRule"}))});
  return out;
}

}  // namespace Halden::Services::Cad
