#pragma once

#include <string>

#include "halden/soa/common/Exceptions.h"

namespace Halden::Soa::Client {

// Asked by the framework for credentials when a request is rejected.
class CredentialManager {
 public:
  struct Credentials {
    Credentials() = default;
    Credentials(std::string user, std::string password, std::string group, std::string role, std::string discriminator)
        : user(std::move(user)),
          password(std::move(password)),
          group(std::move(group)),
          role(std::move(role)),
          discriminator(std::move(discriminator)) {}
    std::string user, password, group, role, discriminator;
  };

  virtual ~CredentialManager() = default;
  virtual int credentialType() = 0;
  virtual Credentials credentialsOnInvalidUser(Common::Exceptions::InvalidUserException e) = 0;
  virtual Credentials credentialsOnInvalidCredentials(Common::Exceptions::InvalidCredentialsException e) = 0;
  // What the framework should use for the next authentication.
  virtual void setUserPassword(const std::string& user, const std::string& password, const std::string& discriminator);
  virtual void setGroupRole(const std::string& group, const std::string& role);

 protected:
  std::string next_user_, next_password_, next_discriminator_, next_group_, next_role_;
};

}  // namespace Halden::Soa::Client
