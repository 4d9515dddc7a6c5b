// An in-memory PDM server: objects with types and typed properties, users,
// preferences and the session. Replies carry what the property policy of each
// type names; the rest stays not loaded until a get-properties request asks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "halden/server/Stubs.h"

namespace Halden::Soa::Server {

// Builders of wire properties.
namespace props {
WireProperty str(const std::string& name, const std::string& value);
WireProperty strs(const std::string& name, std::vector<std::string> values);
WireProperty integer(const std::string& name, int value);
WireProperty ints(const std::string& name, std::vector<int> values);
WireProperty real(const std::string& name, double value);
WireProperty reals(const std::string& name, std::vector<double> values);
WireProperty logical(const std::string& name, bool value);
WireProperty logicals(const std::string& name, std::vector<bool> values);
WireProperty character(const std::string& name, char value);
WireProperty chars(const std::string& name, std::vector<char> values);
WireProperty date(const std::string& name, const Common::DateTime& value);
WireProperty dates(const std::string& name, std::vector<Common::DateTime> values);
WireProperty ref(const std::string& name, const std::string& uid);
WireProperty refs(const std::string& name, std::vector<std::string> uids);
// Present on the object, but sent to the client as null.
WireProperty null(const std::string& name, ValueType type, bool is_array = false);
}  // namespace props

class SampleWorld : public SessionStub, public DataManagementStub, public ConnectionStub {
 public:
  SampleWorld();

  // Building the world.
  struct StoredObject {
    std::vector<std::string> types;  // own type first
    std::map<std::string, WireProperty> properties;
  };
  void add_user(const std::string& name, const std::string& password, const std::string& group,
                const std::string& role);
  void add_object(const std::string& uid, std::vector<std::string> types, std::vector<WireProperty> properties = {});
  void set_property(const std::string& uid, WireProperty property);
  StoredObject* find(const std::string& uid);
  // Properties every reply carries for objects of the type (and its subtypes).
  void set_policy(const std::string& type, std::set<std::string> names);
  void set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values);
  void set_available_services(std::vector<std::string> names) { services_ = std::move(names); }
  void set_server_version(std::string version) { server_version_ = std::move(version); }
  void set_option(int option, std::string value) { options_[option] = std::move(value); }

  // A reply that carries these objects, each with the policy's properties
  // and the named ones; referenced objects come along without properties.
  WireServiceData reply_with(const std::vector<std::string>& uids, const std::vector<std::string>& names = {}) const;
  WireObject wire_object(const std::string& uid, const std::vector<std::string>& names) const;

  // What the session saw.
  const std::string& session_user() const { return session_user_; }
  int pom_refresh_requests() const { return pom_refresh_requests_; }
  bool pom_refresh() const { return pom_refresh_; }

  // SessionStub
  WireServiceData login(const LoginRequest& request) override;
  WireServiceData logout() override;
  SessionInfoReply getSessionInfo() override;
  PreferencesReply getPreferences(const std::string& scope, const std::vector<std::string>& names) override;
  std::vector<std::string> getAvailableServices() override;
  WireServiceData refreshPOMCachePerRequest(bool refresh) override;

  // DataManagementStub
  WireServiceData getProperties(const std::vector<std::string>& uids, const std::vector<std::string>& names) override;
  WireServiceData loadObjects(const std::vector<std::string>& uids) override;

  // ConnectionStub
  std::string getOption(int option) override;

 private:
  struct User {
    std::string password, group, role, uid;
  };
  std::set<std::string> policy_of(const StoredObject& object) const;
  void add_referenced(WireServiceData& data, const WireObject& object, std::set<std::string>& seen) const;
  WireErrorStack not_found(const std::string& uid) const;

  std::map<std::string, StoredObject> objects_;
  std::map<std::string, std::set<std::string>> policy_;
  std::map<std::string, User> users_;
  std::map<std::string, std::map<std::string, std::vector<std::string>>> preferences_;
  std::vector<std::string> services_;
  std::map<int, std::string> options_;
  std::string server_version_ = "P2009.1.0";
  std::string session_user_;
  int pom_refresh_requests_ = 0;
  bool pom_refresh_ = false;
};

}  // namespace Halden::Soa::Server
