#include "halden/server/world/PreferenceManagementWorld.h"

#include <cctype>

namespace Halden::Soa::Server {

WireServiceData PreferenceManagementWorld::setPreferences(const std::vector<PreferenceScope>& scopes) {
  auto& preferences = store_.preferences();
  for (const auto& scope : scopes) {
    std::string key = scope.scope;
    for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& preference : scope.preferences) {
      std::vector<std::string> values;
      for (const auto& v : preference.values) values.insert(values.end(), v.values.begin(), v.values.end());
      preferences[key][preference.definition.name] = std::move(values);
    }
  }
  return {};
}

}  // namespace Halden::Soa::Server
