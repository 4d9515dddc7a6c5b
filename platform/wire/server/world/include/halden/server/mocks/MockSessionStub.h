// GoogleMock stub of the session family; by default it answers as the given
// implementation does (normally the world's part), so a test scripts only
// what it wants to differ.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/SessionStub.h"

namespace Halden::Soa::Server {

class MockSessionStub : public SessionStub {
 public:
  using Stub = SessionStub;
  explicit MockSessionStub(SessionStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, login).WillByDefault(Invoke(&answers, &SessionStub::login));
    ON_CALL(*this, logout).WillByDefault(Invoke(&answers, &SessionStub::logout));
    ON_CALL(*this, getSessionInfo).WillByDefault(Invoke(&answers, &SessionStub::getSessionInfo));
    ON_CALL(*this, getPreferences).WillByDefault(Invoke(&answers, &SessionStub::getPreferences));
    ON_CALL(*this, getAvailableServices).WillByDefault(Invoke(&answers, &SessionStub::getAvailableServices));
    ON_CALL(*this, refreshPOMCachePerRequest).WillByDefault(Invoke(&answers, &SessionStub::refreshPOMCachePerRequest));
  }
  MOCK_METHOD(WireServiceData, login, (const LoginRequest& request), (override));
  MOCK_METHOD(WireServiceData, logout, (), (override));
  MOCK_METHOD(SessionInfoReply, getSessionInfo, (), (override));
  MOCK_METHOD(PreferencesReply, getPreferences, (const std::string& scope, const std::vector<std::string>& names),
              (override));
  MOCK_METHOD(std::vector<std::string>, getAvailableServices, (), (override));
  MOCK_METHOD(WireServiceData, refreshPOMCachePerRequest, (bool refresh), (override));
};

}  // namespace Halden::Soa::Server
