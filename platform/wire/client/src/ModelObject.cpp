#include "halden/soa/client/ModelObject.h"

#include <set>

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/Preferences.h"
#include "halden/soa/client/testing.h"

namespace Halden::Soa::Client {

namespace {
std::set<std::string>& unreadable_properties() {
  static std::set<std::string> names;
  return names;
}
}  // namespace

namespace testing {
void set_unreadable_properties(std::vector<std::string> names) {
  unreadable_properties() = {names.begin(), names.end()};
}

void reset() {
  set_malformed_uids({});
  set_unconstructible_uids({});
  set_unreadable_properties({});
  reset_gateway();
  set_get_service_failure("", ServiceFailure::None);
  set_connection_failure(ServiceFailure::None);
  set_listener_removal_failure(false);
  reset_uploads();
}
}  // namespace testing

Property* ModelObject::getProperty(const std::string& name) {
  if (unreadable_properties().count(name)) throw RuntimeException("Property " + name + " cannot be read on " + uid_);
  auto it = properties_.find(name);
  if (it == properties_.end()) throw NotLoadedException("Property " + name + " is not loaded on object " + uid_);
  return it->second.get();
}

std::vector<std::string> ModelObject::getPropertyNames() const {
  std::vector<std::string> names;
  names.reserve(properties_.size());
  for (const auto& [name, property] : properties_) names.push_back(name);
  return names;
}

void ModelObject::setProperty(const std::string& name, std::unique_ptr<Property> property) {
  properties_[name] = std::move(property);
}

const std::vector<std::string>& Preferences::getPreference(const std::string& name) const {
  static const std::vector<std::string> none;
  auto it = values.find(name);
  return it == values.end() ? none : it->second;
}

}  // namespace Halden::Soa::Client
