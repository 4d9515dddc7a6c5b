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
    ON_CALL(*this, sendValidationData).WillByDefault(::testing::Invoke(&answers, &Stub::sendValidationData));
    ON_CALL(*this, getValidationResults).WillByDefault(::testing::Invoke(&answers, &Stub::getValidationResults));
    ON_CALL(*this, queryValidationResults).WillByDefault(::testing::Invoke(&answers, &Stub::queryValidationResults));
  }
  MOCK_METHOD(CreateValidationResultsReply, createValidationResults,
              (const std::vector<ValidationResultRecord>& records), (override));
  MOCK_METHOD(ValidationDataReply, sendValidationData, (const std::vector<ValidationDataRecord>& records), (override));
  MOCK_METHOD(ValidationResultsReply, getValidationResults, (const std::vector<std::string>& object_uids), (override));
  MOCK_METHOD(ValidationQueryReply, queryValidationResults, (const std::vector<ValidationQueryRecord>& records),
              (override));
};

}  // namespace Halden::Soa::Server
