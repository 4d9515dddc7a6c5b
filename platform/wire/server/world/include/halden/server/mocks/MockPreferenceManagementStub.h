// GoogleMock stub of preference management; by default it answers as the
// given implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/PreferenceManagementStub.h"

namespace Halden::Soa::Server {

class MockPreferenceManagementStub : public PreferenceManagementStub {
 public:
  using Stub = PreferenceManagementStub;
  explicit MockPreferenceManagementStub(PreferenceManagementStub& answers) {
    ON_CALL(*this, setPreferences)
        .WillByDefault(::testing::Invoke(&answers, &PreferenceManagementStub::setPreferences));
  }
  MOCK_METHOD(WireServiceData, setPreferences, (const std::vector<PreferenceScope>& scopes), (override));
};

}  // namespace Halden::Soa::Server
