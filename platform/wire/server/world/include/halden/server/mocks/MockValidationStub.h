// GoogleMock stub of the internal validation family; its defaults answer
// from any implementation given (normally the sample world's part).
#pragma once

#include <gmock/gmock.h>

#include "halden/server/ValidationStub.h"

namespace Halden::Soa::Server {

class MockValidationStub : public ValidationStub {
 public:
  using Stub = ValidationStub;
  explicit MockValidationStub(ValidationStub& answers) {
    ON_CALL(*this, createValidationResults).WillByDefault(::testing::Invoke(&answers, &Stub::createValidationResults));
  }
  MOCK_METHOD(CreateValidationResultsReply, createValidationResults,
              (const std::vector<ValidationResultRecord>& records), (override));
};

}  // namespace Halden::Soa::Server
