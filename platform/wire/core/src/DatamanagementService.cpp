#include "halden/services/core/DatamanagementService.h"

#include "halden/server/DataManagementStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;

namespace {
constexpr const char* kService = "Core-2006-03-DataManagement";
}

DatamanagementService* DatamanagementService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<DatamanagementService>(connection, kService);
}

Soa::Client::ServiceData DatamanagementService::getProperties(const std::vector<Soa::Client::ModelObject*>& objects,
                                                              const std::vector<std::string>& names) {
  const auto uids = Soa::Client::Internal::uidsOf(objects);
  auto reply = invoke(*connection_, kService, "getProperties", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).getProperties(uids, names);
  });
  return absorb(*connection_, reply);
}

Soa::Client::ServiceData DatamanagementService::loadObjects(const std::vector<std::string>& uids) {
  auto reply = invoke(*connection_, kService, "loadObjects", [&](Soa::Server::Server& server) {
    return require<Soa::Server::DataManagementStub>(server, kService).loadObjects(uids);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core
