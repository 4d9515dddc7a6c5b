// GoogleMock stubs of each service family. Their defaults answer from a
// sample world, so a test scripts only what it wants to differ.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/SampleWorld.h"
#include "halden/server/Stubs.h"

namespace Halden::Soa::Server {

class MockSessionStub : public SessionStub {
 public:
  explicit MockSessionStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, login).WillByDefault(Invoke(&world, &SampleWorld::login));
    ON_CALL(*this, logout).WillByDefault(Invoke(&world, &SampleWorld::logout));
    ON_CALL(*this, getSessionInfo).WillByDefault(Invoke(&world, &SampleWorld::getSessionInfo));
    ON_CALL(*this, getPreferences).WillByDefault(Invoke(&world, &SampleWorld::getPreferences));
    ON_CALL(*this, getAvailableServices).WillByDefault(Invoke(&world, &SampleWorld::getAvailableServices));
    ON_CALL(*this, refreshPOMCachePerRequest).WillByDefault(Invoke(&world, &SampleWorld::refreshPOMCachePerRequest));
  }
  MOCK_METHOD(WireServiceData, login, (const LoginRequest& request), (override));
  MOCK_METHOD(WireServiceData, logout, (), (override));
  MOCK_METHOD(SessionInfoReply, getSessionInfo, (), (override));
  MOCK_METHOD(PreferencesReply, getPreferences, (const std::string& scope, const std::vector<std::string>& names),
              (override));
  MOCK_METHOD(std::vector<std::string>, getAvailableServices, (), (override));
  MOCK_METHOD(WireServiceData, refreshPOMCachePerRequest, (bool refresh), (override));
};

class MockDataManagementStub : public DataManagementStub {
 public:
  explicit MockDataManagementStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, getProperties).WillByDefault(Invoke(&world, &SampleWorld::getProperties));
    ON_CALL(*this, loadObjects).WillByDefault(Invoke(&world, &SampleWorld::loadObjects));
  }
  MOCK_METHOD(WireServiceData, getProperties,
              (const std::vector<std::string>& uids, const std::vector<std::string>& names), (override));
  MOCK_METHOD(WireServiceData, loadObjects, (const std::vector<std::string>& uids), (override));
};

class MockConnectionStub : public ConnectionStub {
 public:
  explicit MockConnectionStub(SampleWorld& world) {
    ON_CALL(*this, getOption).WillByDefault(::testing::Invoke(&world, &SampleWorld::getOption));
  }
  MOCK_METHOD(std::string, getOption, (int option), (override));
};

}  // namespace Halden::Soa::Server
