// How every service of the framework stand-in sends a request and takes its
// reply. Shared by the wire libraries only.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "halden/server/Server.h"
#include "halden/server/Wire.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ServiceData.h"
#include "halden/soa/client/internal/Access.h"

namespace Halden::Soa::Client::Internal {

// Rejected logins and failed requests are tried again at most this often.
constexpr int kMaxAttempts = 3;

// The endpoint's stub of the family, or a protocol error when it offers none.
template <class Stub>
Stub& require(const Server::Server& server, const char* service) {
  Stub* stub = server.stub<Stub>();
  if (!stub) throw ProtocolException(std::string("service not offered by the server: ") + service);
  return *stub;
}

// Sends one request as a real framework does: stamps the policy, answers a
// rejected login through the credential manager (login, when given, takes the
// credentials it returns), and hands failures to the exception handler.
template <class Call>
auto invoke(Connection& connection, const char* service, const char* operation, Call&& call,
            CredentialManager::Credentials* login = nullptr) -> decltype(call(std::declval<Server::Server&>())) {
  for (int attempt = 1;; ++attempt) {
    try {
      Server::Server* server = Access::endpoint(connection);
      if (!server) throw ConnectionException("no server answers at " + connection.getHost());
      server->requests.push_back({service, operation, activePolicyId()});
      const std::size_t index = server->requests.size() - 1;
      if (server->on_request) server->on_request(server->requests[index]);
      if constexpr (std::is_void_v<decltype(call(*server))>) {
        call(*server);
        if (server->on_reply) server->on_reply(server->requests[index]);
        return;
      } else {
        auto reply = call(*server);
        if (server->on_reply) server->on_reply(server->requests[index]);
        return reply;
      }
    } catch (const Common::Exceptions::InvalidUserException& e) {
      if (attempt >= kMaxAttempts || !connection.getCredentialManager()) throw;
      auto fresh = connection.getCredentialManager()->credentialsOnInvalidUser(e);
      if (login) *login = std::move(fresh);
    } catch (const Common::Exceptions::InvalidCredentialsException& e) {
      if (attempt >= kMaxAttempts || !connection.getCredentialManager()) throw;
      auto fresh = connection.getCredentialManager()->credentialsOnInvalidCredentials(e);
      if (login) *login = std::move(fresh);
    } catch (const CanceledOperationException& e) {
      if (connection.getExceptionHandler()) connection.getExceptionHandler()->handleCanceledOperation(e);
      throw;
    } catch (const InternalServerException& e) {
      if (!connection.getExceptionHandler()) throw;
      connection.getExceptionHandler()->handleInternalServerException(e);
      if (attempt >= kMaxAttempts) throw;
    }
  }
}

// Between client objects and the UIDs the wire carries; "" stands for null.
std::string uidOf(const ModelObject* object);
std::vector<std::string> uidsOf(const std::vector<ModelObject*>& objects);
ModelObject* objectOf(ModelManager& models, const std::string& uid);
std::vector<ModelObject*> objectsOf(ModelManager& models, const std::vector<std::string>& uids);

// Turns a wire reply into client objects and tells the listeners.
ServiceData absorb(Connection& connection, const Server::WireServiceData& data);

// Throws what a test made getService of the named service throw.
void failIfScripted(const char* service);

// The service object of a connection, made on first use.
template <class Service>
Service* serviceOf(Connection* connection, const char* name) {
  if (!connection) throw RuntimeException(std::string("no connection given to ") + name);
  failIfScripted(name);
  auto& slot = Access::serviceSlot(*connection, name);
  if (!slot) slot = std::make_shared<Service>(connection);
  return static_cast<Service*>(slot.get());
}

}  // namespace Halden::Soa::Client::Internal
