#include "halden/services/core/SessionService.h"

#include "halden/server/SessionStub.h"
#include "halden/services/internal/core/SessionService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Core {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Core-2006-03-Session";
}

SessionService* SessionService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<SessionService>(connection, kService);
}

LoginResponse SessionService::login(const std::string& user, const std::string& password, const std::string& group,
                                    const std::string& role, const std::string& discriminator) {
  Soa::Client::CredentialManager::Credentials attempt(user, password, group, role, discriminator);
  auto reply = invoke(
      *connection_, kService, "login",
      [&](Wire::Server& server) {
        return require<Soa::Server::SessionStub>(server, kService)
            .login({attempt.user, attempt.password, attempt.group, attempt.role, attempt.discriminator});
      },
      &attempt);
  return {absorb(*connection_, reply)};
}

Soa::Client::ServiceData SessionService::logout() {
  auto reply = invoke(*connection_, kService, "logout", [&](Wire::Server& server) {
    return require<Soa::Server::SessionStub>(server, kService).logout();
  });
  return absorb(*connection_, reply);
}

GetSessionInfoResponse SessionService::getSessionInfo() {
  auto reply = invoke(*connection_, kService, "getSessionInfo", [&](Wire::Server& server) {
    return require<Soa::Server::SessionStub>(server, kService).getSessionInfo();
  });
  GetSessionInfoResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto* models = connection_->getModelManager();
  if (!reply.user_uid.empty())
    out.user = dynamic_cast<Soa::Client::Model::User*>(
        Soa::Client::Internal::Access::objectOf(*models, reply.user_uid, {"User"}));
  if (!reply.group_uid.empty())
    out.group = Soa::Client::Internal::Access::objectOf(*models, reply.group_uid, {"Group"});
  out.serverVersion = reply.server_version;
  return out;
}

GetPreferencesResponse SessionService::getPreferences(const std::string& scope, const std::vector<std::string>& names) {
  auto reply = invoke(*connection_, kService, "getPreferences", [&](Wire::Server& server) {
    return require<Soa::Server::SessionStub>(server, kService).getPreferences(scope, names);
  });
  GetPreferencesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.preferences.values = std::move(reply.preferences);
  return out;
}

std::vector<std::string> SessionService::getAvailableServices() {
  return invoke(*connection_, kService, "getAvailableServices", [&](Wire::Server& server) {
    return require<Soa::Server::SessionStub>(server, kService).getAvailableServices();
  });
}

}  // namespace Halden::Services::Core

namespace Halden::Services::Internal::Core {

namespace {
constexpr const char* kService = "Internal-Core-2007-05-Session";
}

SessionService* SessionService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<SessionService>(connection, kService);
}

Soa::Client::ServiceData SessionService::refreshPOMCachePerRequest(bool refresh) {
  auto reply = Soa::Client::Internal::invoke(
      *connection_, kService, "refreshPOMCachePerRequest", [&](Soa::Server::Server& server) {
        return Soa::Client::Internal::require<Soa::Server::SessionStub>(server, kService)
            .refreshPOMCachePerRequest(refresh);
      });
  return Soa::Client::Internal::absorb(*connection_, reply);
}

}  // namespace Halden::Services::Internal::Core
