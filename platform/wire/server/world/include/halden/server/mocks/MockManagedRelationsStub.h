// GoogleMock stub of the managed-relations family; its defaults answer from
// any implementation given (normally the sample world's part).
#pragma once

#include <gmock/gmock.h>

#include "halden/server/ManagedRelationsStub.h"

namespace Halden::Soa::Server {

class MockManagedRelationsStub : public ManagedRelationsStub {
 public:
  using Stub = ManagedRelationsStub;
  explicit MockManagedRelationsStub(ManagedRelationsStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getTraceReport).WillByDefault(Invoke(&answers, &Stub::getTraceReport));
    ON_CALL(*this, createTraceLink).WillByDefault(Invoke(&answers, &Stub::createTraceLink));
    ON_CALL(*this, modifyTraceLink).WillByDefault(Invoke(&answers, &Stub::modifyTraceLink));
  }
  MOCK_METHOD(TraceReportReply, getTraceReport, (const TraceReportRequest& request), (override));
  MOCK_METHOD(CreatedObjectsReply, createTraceLink, (const std::vector<TraceLinkCreateRecord>& records), (override));
  MOCK_METHOD(WireServiceData, modifyTraceLink, (const std::vector<TraceLinkModifyRecord>& records), (override));
};

}  // namespace Halden::Soa::Server
