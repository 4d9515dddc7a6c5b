// GoogleMock stub of CAD data management; by default it answers as the given
// implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/CadDataManagementStub.h"

namespace Halden::Soa::Server {

class MockCadDataManagementStub : public CadDataManagementStub {
 public:
  using Stub = CadDataManagementStub;
  explicit MockCadDataManagementStub(CadDataManagementStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getRelatedObjects).WillByDefault(Invoke(&answers, &CadDataManagementStub::getRelatedObjects));
    ON_CALL(*this, expandItems).WillByDefault(Invoke(&answers, &CadDataManagementStub::expandItems));
  }
  MOCK_METHOD(RelatedObjectsReply, getRelatedObjects,
              (const std::vector<std::string>& uids, const std::vector<RelationFilterRecord>& filters), (override));
  MOCK_METHOD(ExpandItemsReply, expandItems,
              (const std::vector<std::string>& item_uids, const ExpandItemsPreference& preference), (override));
};

}  // namespace Halden::Soa::Server
