// Preference management in the sample world: values set here are stored
// under the lower-case scope name, where the session family's getPreferences
// finds them.
#pragma once

#include <vector>

#include "halden/server/PreferenceManagementStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class PreferenceManagementWorld : public PreferenceManagementStub {
 public:
  explicit PreferenceManagementWorld(WorldStore& store) : store_(store) {}

  WireServiceData setPreferences(const std::vector<PreferenceScope>& scopes) override;

 private:
  WorldStore& store_;
};

}  // namespace Halden::Soa::Server
