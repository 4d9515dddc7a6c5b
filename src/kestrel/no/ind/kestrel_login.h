// What both builds' connects share: the protocol rule and the passive
// credential manager of a connection.
#pragma once

#include <memory>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/CredentialManager.h"

namespace kestrel {

// HTTP only for the exact text "HTTP"; anything else, null included, is IIOP.
Halden::Soa::Client::Protocol protocol_of(const char* protocol);

}  // namespace kestrel

// A passive holder: it hands back the credentials it was given.
class LoginCredentials : public Halden::Soa::Client::CredentialManager {
 public:
  explicit LoginCredentials(Credentials* credentials) : credentials_(credentials) {}
  int credentialType() override { return 0; }
  Credentials credentialsOnInvalidUser(Halden::Soa::Common::Exceptions::InvalidUserException) override {
    return *credentials_;
  }
  Credentials credentialsOnInvalidCredentials(Halden::Soa::Common::Exceptions::InvalidCredentialsException) override {
    return *credentials_;
  }
  virtual Credentials copyCredentials() { return *credentials_; }

 private:
  std::unique_ptr<Credentials> credentials_;
};
