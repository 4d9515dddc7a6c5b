// Preference management: writing server preferences.
#pragma once

#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Administration {

struct PreferenceDefinition {
  std::string preferenceName;
  std::string preferenceCategory;
  std::string preferenceDescription;
  std::string preferenceScope;
  std::string preferenceType;
  bool isArray = false;
  bool isDisabled = false;
};

struct PreferenceValue {
  std::string valueOrigination;
  std::vector<std::string> values;
};

struct PreferenceInfo {
  PreferenceDefinition definition;
  std::vector<PreferenceValue> values;
};

// The preferences to write in one scope.
struct SetPreferencesIn {
  std::string preferenceScope;
  std::vector<PreferenceInfo> preferenceInfos;
};

class PreferencemanagementService {
 public:
  static PreferencemanagementService* getService(Soa::Client::Connection* connection);
  explicit PreferencemanagementService(Soa::Client::Connection* connection) : connection_(connection) {}

  Soa::Client::ServiceData setPreferences(const std::vector<SetPreferencesIn>& input);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Administration
