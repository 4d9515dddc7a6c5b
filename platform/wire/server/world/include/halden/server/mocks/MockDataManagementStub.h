// GoogleMock stub of core data management; by default it answers as the
// given implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/DataManagementStub.h"

namespace Halden::Soa::Server {

class MockDataManagementStub : public DataManagementStub {
 public:
  using Stub = DataManagementStub;
  explicit MockDataManagementStub(DataManagementStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getProperties).WillByDefault(Invoke(&answers, &DataManagementStub::getProperties));
    ON_CALL(*this, loadObjects).WillByDefault(Invoke(&answers, &DataManagementStub::loadObjects));
    ON_CALL(*this, getItemFromId).WillByDefault(Invoke(&answers, &DataManagementStub::getItemFromId));
  }
  MOCK_METHOD(WireServiceData, getProperties,
              (const std::vector<std::string>& uids, const std::vector<std::string>& names), (override));
  MOCK_METHOD(WireServiceData, loadObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ItemFromIdReply, getItemFromId,
              (const std::vector<ItemIdRequest>& ids, int revision_count,
               const std::vector<RelationFilterRecord>& filters),
              (override));
};

}  // namespace Halden::Soa::Server
