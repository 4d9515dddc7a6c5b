// Preference management: definitions and values by scope.
#pragma once

#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct PreferenceDefinition {
  std::string name, category, description, scope, type;
  bool is_array = false, is_disabled = false;
};

struct PreferenceValues {
  std::string origin;
  std::vector<std::string> values;
};

struct PreferenceEntry {
  PreferenceDefinition definition;
  std::vector<PreferenceValues> values;
};

struct PreferenceScope {
  std::string scope;
  std::vector<PreferenceEntry> preferences;
};

class PreferenceManagementStub {
 public:
  virtual ~PreferenceManagementStub() = default;
  virtual WireServiceData setPreferences(const std::vector<PreferenceScope>& scopes) = 0;
};

}  // namespace Halden::Soa::Server
