// GoogleMock stub of the endpoint's options; by default it answers as the
// given implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/ConnectionStub.h"

namespace Halden::Soa::Server {

class MockConnectionStub : public ConnectionStub {
 public:
  using Stub = ConnectionStub;
  explicit MockConnectionStub(ConnectionStub& answers) {
    ON_CALL(*this, getOption).WillByDefault(::testing::Invoke(&answers, &ConnectionStub::getOption));
  }
  MOCK_METHOD(std::string, getOption, (int option), (override));
};

}  // namespace Halden::Soa::Server
