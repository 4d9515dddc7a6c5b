#include "halden/server/world/SessionWorld.h"

#include "halden/soa/common/Exceptions.h"

namespace Halden::Soa::Server {

void SessionWorld::add_user(const std::string& name, const std::string& password, const std::string& group,
                            const std::string& role) {
  const std::string uid = "user-" + name;
  users_[name] = User{password, group, role, uid};
  store_.add_object(uid, {"User", "POM_application_object", "POM_object"},
                    {props::str("user_id", name), props::str("user_name", name)});
}

WireServiceData SessionWorld::login(const LoginRequest& request) {
  auto it = users_.find(request.user);
  if (it == users_.end()) throw Common::Exceptions::InvalidUserException("The user " + request.user + " is not known.");
  if (it->second.password != request.password)
    throw Common::Exceptions::InvalidCredentialsException("Invalid password for " + request.user + ".");
  session_user_ = request.user;
  return {};
}

WireServiceData SessionWorld::logout() {
  session_user_.clear();
  return {};
}

SessionInfoReply SessionWorld::getSessionInfo() {
  SessionInfoReply reply;
  reply.server_version = server_version_;
  auto it = users_.find(session_user_);
  if (it == users_.end()) return reply;
  reply.user_uid = it->second.uid;
  reply.data = store_.reply_with({it->second.uid});
  return reply;
}

PreferencesReply SessionWorld::getPreferences(const std::string& scope, const std::vector<std::string>& names) {
  PreferencesReply reply;
  const auto& preferences = store_.preferences();
  auto s = preferences.find(scope);
  if (s == preferences.end()) return reply;
  for (const auto& name : names) {
    auto p = s->second.find(name);
    if (p != s->second.end()) reply.preferences[name] = p->second;
  }
  return reply;
}

std::vector<std::string> SessionWorld::getAvailableServices() { return services_; }

WireServiceData SessionWorld::refreshPOMCachePerRequest(bool refresh) {
  ++pom_refresh_requests_;
  pom_refresh_ = refresh;
  return {};
}

}  // namespace Halden::Soa::Server
