#include "halden/soa/client/Connection.h"

#include <utility>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"

#include "halden/server/ConnectionStub.h"
#include "halden/server/Endpoint.h"
#include "halden/soa/client/internal/Access.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Soa::Client {

namespace {
int active_policy = -1;
const Connection* asking_option = nullptr;

struct ConnectionFailure {
  testing::ServiceFailure failure = testing::ServiceFailure::None;
  std::string message;
};
ConnectionFailure connection_failure;
}  // namespace

namespace testing {
const Connection* option_connection() { return asking_option; }
void set_connection_failure(ServiceFailure failure, const std::string& message) {
  connection_failure = {failure, message};
}
Binding binding_of(const Connection& connection) { return Internal::Access::binding(connection); }
bool keep_alive_of(const Connection& connection) { return Internal::Access::keepAlive(connection); }
}  // namespace testing

void setActivePolicyId(int policy) { active_policy = policy; }
int activePolicyId() { return active_policy; }

void CredentialManager::setUserPassword(const std::string& user, const std::string& password,
                                        const std::string& discriminator) {
  next_user_ = user;
  next_password_ = password;
  next_discriminator_ = discriminator;
}

void CredentialManager::setGroupRole(const std::string& group, const std::string& role) {
  next_group_ = group;
  next_role_ = role;
}

Connection::Connection(const std::string& host, CredentialManager* credentials, Protocol protocol, Binding binding,
                       bool keep_alive)
    : host_(host),
      credentials_(credentials),
      protocol_(protocol),
      binding_(binding),
      keep_alive_(keep_alive),
      models_(this) {
  switch (connection_failure.failure) {
    case testing::ServiceFailure::None:
      break;
    case testing::ServiceFailure::Runtime:
      throw RuntimeException(connection_failure.message);
    case testing::ServiceFailure::Soa:
      throw Common::Exceptions::SoaException(connection_failure.message);
  }
  if (host_.empty()) throw RuntimeException("no server address given");
}

Connection::~Connection() = default;

Server::Server* Connection::endpoint() const { return Server::findEndpoint(host_); }

std::string Connection::getOption(int option) {
  struct Asking {
    explicit Asking(const Connection* c) : previous(std::exchange(asking_option, c)) {}
    ~Asking() { asking_option = previous; }
    const Connection* previous;
  } asking(this);
  return Internal::invoke(*this, "Connection", "getOption", [&](Server::Server& server) {
    return Internal::require<Server::ConnectionStub>(server, "Connection").getOption(option);
  });
}

}  // namespace Halden::Soa::Client
