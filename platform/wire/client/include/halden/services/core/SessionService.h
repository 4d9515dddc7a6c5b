#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Preferences.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Core {

struct LoginResponse {
  Soa::Client::ServiceData serviceData;
};

struct GetSessionInfoResponse {
  Soa::Client::Model::User* user = nullptr;
  Soa::Client::ModelObject* group = nullptr;
  std::string serverVersion;
  Soa::Client::ServiceData serviceData;
};

struct GetPreferencesResponse {
  Soa::Client::Preferences preferences;
  Soa::Client::ServiceData serviceData;
};

class SessionService {
 public:
  static SessionService* getService(Soa::Client::Connection* connection);
  explicit SessionService(Soa::Client::Connection* connection) : connection_(connection) {}

  LoginResponse login(const std::string& user, const std::string& password, const std::string& group,
                      const std::string& role, const std::string& discriminator);
  Soa::Client::ServiceData logout();
  GetSessionInfoResponse getSessionInfo();
  GetPreferencesResponse getPreferences(const std::string& scope, const std::vector<std::string>& names);
  std::vector<std::string> getAvailableServices();

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Core
