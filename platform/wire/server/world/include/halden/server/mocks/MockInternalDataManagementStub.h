// GoogleMock stub of the internal data-management family; its defaults
// answer from any implementation given (normally the sample world's part).
#pragma once

#include <gmock/gmock.h>

#include "halden/server/InternalDataManagementStub.h"

namespace Halden::Soa::Server {

class MockInternalDataManagementStub : public InternalDataManagementStub {
 public:
  using Stub = InternalDataManagementStub;
  explicit MockInternalDataManagementStub(InternalDataManagementStub& answers) {
    ON_CALL(*this, createRelations).WillByDefault(::testing::Invoke(&answers, &Stub::createRelations));
  }
  MOCK_METHOD(CreateRelationsReply, createRelations, (const std::vector<RelationCreateRecord>& records), (override));
};

}  // namespace Halden::Soa::Server
