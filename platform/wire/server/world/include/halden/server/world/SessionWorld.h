// The session family of the sample world: users, login, session info,
// preferences and the services the server offers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/SessionStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class SessionWorld : public SessionStub {
 public:
  explicit SessionWorld(WorldStore& store) : store_(store) {}

  // A user "user-<name>" in the store.
  void add_user(const std::string& name, const std::string& password, const std::string& group,
                const std::string& role);
  void set_available_services(std::vector<std::string> names) { services_ = std::move(names); }
  const std::vector<std::string>& available_services() const { return services_; }
  void set_server_version(std::string version) { server_version_ = std::move(version); }
  const std::string& server_version() const { return server_version_; }

  // What the session saw.
  const std::string& session_user() const { return session_user_; }
  int pom_refresh_requests() const { return pom_refresh_requests_; }
  bool pom_refresh() const { return pom_refresh_; }

  WireServiceData login(const LoginRequest& request) override;
  WireServiceData logout() override;
  SessionInfoReply getSessionInfo() override;
  PreferencesReply getPreferences(const std::string& scope, const std::vector<std::string>& names) override;
  std::vector<std::string> getAvailableServices() override;
  bool setObjectPropertyPolicy(const std::string& policy) override;
  WireServiceData refreshPOMCachePerRequest(bool refresh) override;

 private:
  struct User {
    std::string password, group, role, uid;
  };
  WorldStore& store_;
  std::map<std::string, User> users_;
  std::vector<std::string> services_;
  std::string server_version_ = "P2009.1.0";
  std::string session_user_;
  int pom_refresh_requests_ = 0;
  bool pom_refresh_ = false;
};

}  // namespace Halden::Soa::Server
