#include "halden/server/SampleWorld.h"

#include <cctype>

#include "halden/soa/common/Exceptions.h"

namespace Halden::Soa::Server {

namespace props {
namespace {
WireProperty make(const std::string& name, ValueType type, bool is_array) {
  WireProperty p;
  p.name = name;
  p.type = type;
  p.is_array = is_array;
  return p;
}
}  // namespace

WireProperty str(const std::string& name, const std::string& value) {
  auto p = make(name, ValueType::String, false);
  p.strings = {value};
  return p;
}
WireProperty strs(const std::string& name, std::vector<std::string> values) {
  auto p = make(name, ValueType::String, true);
  p.strings = std::move(values);
  return p;
}
WireProperty integer(const std::string& name, int value) {
  auto p = make(name, ValueType::Int, false);
  p.ints = {value};
  return p;
}
WireProperty ints(const std::string& name, std::vector<int> values) {
  auto p = make(name, ValueType::Int, true);
  p.ints = std::move(values);
  return p;
}
WireProperty real(const std::string& name, double value) {
  auto p = make(name, ValueType::Double, false);
  p.doubles = {value};
  return p;
}
WireProperty reals(const std::string& name, std::vector<double> values) {
  auto p = make(name, ValueType::Double, true);
  p.doubles = std::move(values);
  return p;
}
WireProperty logical(const std::string& name, bool value) {
  auto p = make(name, ValueType::Logical, false);
  p.logicals = {value};
  return p;
}
WireProperty logicals(const std::string& name, std::vector<bool> values) {
  auto p = make(name, ValueType::Logical, true);
  p.logicals = std::move(values);
  return p;
}
WireProperty character(const std::string& name, char value) {
  auto p = make(name, ValueType::Char, false);
  p.chars = {value};
  return p;
}
WireProperty chars(const std::string& name, std::vector<char> values) {
  auto p = make(name, ValueType::Char, true);
  p.chars = std::move(values);
  return p;
}
WireProperty date(const std::string& name, const Common::DateTime& value) {
  auto p = make(name, ValueType::Date, false);
  p.dates = {value};
  return p;
}
WireProperty dates(const std::string& name, std::vector<Common::DateTime> values) {
  auto p = make(name, ValueType::Date, true);
  p.dates = std::move(values);
  return p;
}
WireProperty ref(const std::string& name, const std::string& uid) {
  auto p = make(name, ValueType::Reference, false);
  p.references = {uid};
  return p;
}
WireProperty refs(const std::string& name, std::vector<std::string> uids) {
  auto p = make(name, ValueType::Reference, true);
  p.references = std::move(uids);
  return p;
}
WireProperty null(const std::string& name, ValueType type, bool is_array) {
  auto p = make(name, type, is_array);
  p.is_null = true;
  return p;
}
}  // namespace props

SampleWorld::SampleWorld() {
  using namespace props;
  add_user("engineer", "secret", "Engineering", "Designer");
  add_object("folder-home", {"Folder", "WorkspaceObject", "POM_object"},
             {str("object_name", "Home"), str("object_type", "Folder")});
  set_property("user-engineer", ref("home_folder", "folder-home"));
  set_policy("WorkspaceObject", {"object_name", "object_type"});
  set_policy("User", {"user_id", "user_name", "home_folder"});
  set_preference("user", "HX_config_rule_name", {"Latest Working"});
  set_preference("site", "OSTRA_TOV_allow_attrsync_master_with_item", {"true"});
  services_ = {"Core-2006-03-DataManagement", "Core-2006-03-Session", "Internal-Core-2007-05-Session",
               "Core-2007-06-PropDescriptor.getAttachedPropDescs", "Query-2007-09-SavedQuery.executeSavedQueries"};
  options_[7] = "hxserver-pool";

  // Revision rules: working, released with and without a date, by unit, precise.
  const std::vector<std::string> entry = {"CFMRuleEntry", "POM_object"};
  auto add_entry = [&](const std::string& uid, const std::string& type, std::vector<WireProperty> properties = {}) {
    std::vector<std::string> types = {type};
    types.insert(types.end(), entry.begin(), entry.end());
    add_object(uid, std::move(types), std::move(properties));
  };
  add_entry("entry-working", "CFMWorkingEntry");
  add_entry("entry-released", "CFMStatusEntry", {integer("date_type", 2)});
  add_entry("entry-released-effective", "CFMStatusEntry", {integer("date_type", 0)});
  add_entry("entry-released-by-date", "CFMStatusEntry", {integer("date_type", 1)});
  add_entry("entry-unit", "CFMUnitNoEntry");
  add_entry("entry-precise", "CFMPreciseEntry");
  set_policy("RevisionRule", {"object_name", "entry_list"});
  add_revision_rule("rule-latest-working", "Latest Working", {"entry-working"});
  add_revision_rule("rule-latest-released", "Latest Released", {"entry-released", "entry-working"});
  add_revision_rule("rule-released-effective", "Released Effective Date", {"entry-released-effective"});
  add_revision_rule("rule-released-by-date", "Released by Date", {"entry-working", "entry-released-by-date"});
  add_revision_rule("rule-unit-effectivity", "Unit Effectivity", {"entry-released", "entry-unit"});
  add_revision_rule("rule-precise", "Precise; Working", {"entry-precise", "entry-working"});
  add_product_structure();
  classification.populate();
}

void SampleWorld::add_revision_rule(const std::string& uid, const std::string& name,
                                    std::vector<std::string> entry_uids) {
  add_object(uid, {"RevisionRule", "POM_application_object", "POM_object"},
             {props::str("object_name", name), props::refs("entry_list", std::move(entry_uids))});
  revision_rules_.push_back(uid);
}

void SampleWorld::add_user(const std::string& name, const std::string& password, const std::string& group,
                           const std::string& role) {
  const std::string uid = "user-" + name;
  users_[name] = User{password, group, role, uid};
  add_object(uid, {"User", "POM_application_object", "POM_object"},
             {props::str("user_id", name), props::str("user_name", name)});
}

void SampleWorld::add_object(const std::string& uid, std::vector<std::string> types,
                             std::vector<WireProperty> properties) {
  auto& object = objects_[uid];
  object.types = std::move(types);
  for (auto& p : properties) object.properties[p.name] = std::move(p);
}

void SampleWorld::set_property(const std::string& uid, WireProperty property) {
  objects_.at(uid).properties[property.name] = std::move(property);
}

SampleWorld::StoredObject* SampleWorld::find(const std::string& uid) {
  auto it = objects_.find(uid);
  return it == objects_.end() ? nullptr : &it->second;
}

void SampleWorld::set_policy(const std::string& type, std::set<std::string> names) { policy_[type] = std::move(names); }

void SampleWorld::set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values) {
  preferences_[scope][name] = std::move(values);
}

std::set<std::string> SampleWorld::policy_of(const StoredObject& object) const {
  std::set<std::string> names;
  for (const auto& type : object.types) {
    auto it = policy_.find(type);
    if (it != policy_.end()) names.insert(it->second.begin(), it->second.end());
  }
  return names;
}

WireObject SampleWorld::wire_object(const std::string& uid, const std::vector<std::string>& names) const {
  const StoredObject& stored = objects_.at(uid);
  WireObject out{uid, stored.types, {}};
  std::set<std::string> carried = policy_of(stored);
  carried.insert(names.begin(), names.end());
  for (const auto& name : carried) {
    auto it = stored.properties.find(name);
    if (it != stored.properties.end()) out.properties.push_back(it->second);
  }
  return out;
}

void SampleWorld::add_referenced(WireServiceData& data, const WireObject& object, std::set<std::string>& seen) const {
  for (const auto& p : object.properties)
    for (const auto& uid : p.references) {
      if (uid.empty() || !seen.insert(uid).second) continue;
      auto it = objects_.find(uid);
      if (it != objects_.end()) data.objects.push_back(WireObject{uid, it->second.types, {}});
    }
}

WireServiceData SampleWorld::reply_with(const std::vector<std::string>& uids,
                                        const std::vector<std::string>& names) const {
  WireServiceData data;
  std::set<std::string> seen(uids.begin(), uids.end());
  for (const auto& uid : uids) {
    if (!objects_.count(uid)) continue;
    data.objects.push_back(wire_object(uid, names));
  }
  const std::size_t carried = data.objects.size();
  for (std::size_t i = 0; i < carried; ++i) add_referenced(data, data.objects[i], seen);
  return data;
}

WireErrorStack SampleWorld::not_found(const std::string& uid) const {
  return WireErrorStack{"", -1, uid, {{515024, 3, "The object with UID " + uid + " could not be found."}}};
}

WireServiceData SampleWorld::login(const LoginRequest& request) {
  auto it = users_.find(request.user);
  if (it == users_.end()) throw Common::Exceptions::InvalidUserException("The user " + request.user + " is not known.");
  if (it->second.password != request.password)
    throw Common::Exceptions::InvalidCredentialsException("Invalid password for " + request.user + ".");
  session_user_ = request.user;
  return {};
}

WireServiceData SampleWorld::logout() {
  session_user_.clear();
  return {};
}

SessionInfoReply SampleWorld::getSessionInfo() {
  SessionInfoReply reply;
  reply.server_version = server_version_;
  auto it = users_.find(session_user_);
  if (it == users_.end()) return reply;
  reply.user_uid = it->second.uid;
  reply.data = reply_with({it->second.uid});
  return reply;
}

PreferencesReply SampleWorld::getPreferences(const std::string& scope, const std::vector<std::string>& names) {
  PreferencesReply reply;
  auto s = preferences_.find(scope);
  if (s == preferences_.end()) return reply;
  for (const auto& name : names) {
    auto p = s->second.find(name);
    if (p != s->second.end()) reply.preferences[name] = p->second;
  }
  return reply;
}

std::vector<std::string> SampleWorld::getAvailableServices() { return services_; }

WireServiceData SampleWorld::refreshPOMCachePerRequest(bool refresh) {
  ++pom_refresh_requests_;
  pom_refresh_ = refresh;
  return {};
}

WireServiceData SampleWorld::getProperties(const std::vector<std::string>& uids,
                                           const std::vector<std::string>& names) {
  WireServiceData data = reply_with(uids, names);
  for (const auto& uid : uids) {
    if (objects_.count(uid)) {
      data.plain.push_back(uid);
    } else {
      data.errors.push_back(not_found(uid));
    }
  }
  return data;
}

WireServiceData SampleWorld::loadObjects(const std::vector<std::string>& uids) { return getProperties(uids, {}); }

std::string SampleWorld::getOption(int option) {
  auto it = options_.find(option);
  return it == options_.end() ? std::string() : it->second;
}

RevisionRulesReply SampleWorld::getRevisionRules() { return {revision_rules_, reply_with(revision_rules_)}; }

WireServiceData SampleWorld::setPreferences(const std::vector<PreferenceScope>& scopes) {
  for (const auto& scope : scopes) {
    std::string key = scope.scope;
    for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& preference : scope.preferences) {
      std::vector<std::string> values;
      for (const auto& v : preference.values) values.insert(values.end(), v.values.begin(), v.values.end());
      preferences_[key][preference.definition.name] = std::move(values);
    }
  }
  return {};
}

}  // namespace Halden::Soa::Server
