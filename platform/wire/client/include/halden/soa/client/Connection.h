#pragma once

#include <map>
#include <memory>
#include <string>

#include "halden/soa/client/CredentialManager.h"
#include "halden/soa/client/ExceptionHandler.h"
#include "halden/soa/client/ModelManager.h"

namespace Halden::Soa::Server {
class Server;
}

namespace Halden::Soa::Client {

namespace Internal {
struct Access;
}

enum Protocol { HTTP = 0, IIOP = 1 };
enum Binding { REST = 0, SOAP = 1 };

// A connection to one server. It owns its model manager and its service
// objects; the credential manager and the exception handler stay the caller's.
class Connection {
 public:
  Connection(const std::string& host, CredentialManager* credentials, Protocol protocol, Binding binding,
             bool keep_alive);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const std::string& getHost() const { return host_; }
  Protocol getProtocol() const { return protocol_; }
  CredentialManager* getCredentialManager() const { return credentials_; }
  void setExceptionHandler(ExceptionHandler* handler) { handler_ = handler; }
  ExceptionHandler* getExceptionHandler() const { return handler_; }
  ModelManager* getModelManager() { return &models_; }

  // One transport option of the server endpoint.
  std::string getOption(int option);

 private:
  friend struct Internal::Access;
  // The endpoint the host names, null when none answers.
  Server::Server* endpoint() const;

  std::string host_;
  CredentialManager* credentials_;
  Protocol protocol_;
  Binding binding_;
  bool keep_alive_;
  ExceptionHandler* handler_ = nullptr;
  ModelManager models_;
  std::map<std::string, std::shared_ptr<void>> services_;
};

// The property policy in force, stamped on every request; -1 when none was set.
void setActivePolicyId(int policy);
int activePolicyId();

}  // namespace Halden::Soa::Client
