// The session family: login, session info, preferences, services.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct LoginRequest {
  std::string user, password, group, role, discriminator;
};

struct SessionInfoReply {
  std::string user_uid;  // first object reference: the session user
  std::string group_uid;
  std::string server_version;
  WireServiceData data;
};

struct PreferencesReply {
  std::map<std::string, std::vector<std::string>> preferences;
  WireServiceData data;
};

class SessionStub {
 public:
  virtual ~SessionStub() = default;
  virtual WireServiceData login(const LoginRequest& request) = 0;
  virtual WireServiceData logout() = 0;
  virtual SessionInfoReply getSessionInfo() = 0;
  virtual PreferencesReply getPreferences(const std::string& scope, const std::vector<std::string>& names) = 0;
  virtual std::vector<std::string> getAvailableServices() = 0;
  // Internal session service.
  virtual WireServiceData refreshPOMCachePerRequest(bool refresh) = 0;
};

}  // namespace Halden::Soa::Server
