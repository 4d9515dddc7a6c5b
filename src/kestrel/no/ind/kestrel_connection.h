// The one server connection of the process and the session around it.
#pragma once

#include <memory>
#include <string>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/CredentialManager.h"
#include "kestrel/kestrel_types.h"

namespace Orvane::PdmSoa {
class Folder;
}

Halden::Soa::Client::Connection* KESTREL_ask_connection();
void KESTREL_create_connection(const char* host, const char* protocol, const char* user, const char* password,
                               const char* group, const char* role, const char* discriminator, bool sso);
void KESTREL_login(const char* user, const char* password, bool do_login);
int KESTREL_logout(bool terminate_server);
UserGroupRole KESTREL_ask_user_group_role();
Orvane::PdmSoa::Folder* KESTREL_ask_home_folder();
// The connection option of the server, asked on a connection of its own
// that goes when the answer is in; "" when no attempt answered.
std::string KESTREL_ask_connection_option(int attempts, int sleep_seconds, const std::string& user,
                                          const std::string& password, const std::string& group);

namespace kestrel {

// Phases of the session that the framework's callbacks ask about.
struct SessionPhase {
  bool initialising = true;
  bool logging_out = false;
  bool sso_mode = false;
  char* sso_discriminator = nullptr;
};
SessionPhase& session_phase();

// Forgets the connection and everything cached for it; deletes nothing.
void forget_connection();

}  // namespace kestrel

// The session connection's credential manager: refreshes single-sign-on
// credentials and turns rejected credentials into an error.
class SoaLoginCredentials : public Halden::Soa::Client::CredentialManager {
 public:
  explicit SoaLoginCredentials(Credentials* credentials) : credentials_(credentials) {}
  int credentialType() override;
  Credentials credentialsOnInvalidUser(Halden::Soa::Common::Exceptions::InvalidUserException e) override;
  Credentials credentialsOnInvalidCredentials(Halden::Soa::Common::Exceptions::InvalidCredentialsException e) override;
  virtual Credentials copyCredentials();
  virtual void setLoginData(std::string user, std::string password, std::string discriminator);

 private:
  std::unique_ptr<Credentials> credentials_;
};

// A passive holder for the temporary connection of the option probe.
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
