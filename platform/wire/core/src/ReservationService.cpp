#include "halden/services/core/ReservationService.h"

#include "halden/server/ReservationStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::ModelObject;
using Soa::Client::ServiceData;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidsOf;

namespace {
constexpr const char* kService = "Core-2006-03-Reservation";
}  // namespace

ReservationService* ReservationService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ReservationService>(connection, kService);
}

ServiceData ReservationService::checkout(const std::vector<ModelObject*>& objects, const std::string& comment,
                                         const std::string& changeId) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "checkout", [&](Soa::Server::Server& server) {
    return require<Soa::Server::ReservationStub>(server, kService).checkout(uids, comment, changeId);
  });
  return absorb(*connection_, reply);
}

ServiceData ReservationService::checkin(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "checkin", [&](Soa::Server::Server& server) {
    return require<Soa::Server::ReservationStub>(server, kService).checkin(uids);
  });
  return absorb(*connection_, reply);
}

ServiceData ReservationService::cancelCheckout(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = invoke(*connection_, kService, "cancelCheckout", [&](Soa::Server::Server& server) {
    return require<Soa::Server::ReservationStub>(server, kService).cancelCheckout(uids);
  });
  return absorb(*connection_, reply);
}

}  // namespace Halden::Services::Core
