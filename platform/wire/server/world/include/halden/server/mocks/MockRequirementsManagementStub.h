// GoogleMock stub of the requirements-management family; its defaults
// answer from any implementation given (normally the sample world's part).
#pragma once

#include <gmock/gmock.h>

#include "halden/server/RequirementsManagementStub.h"

namespace Halden::Soa::Server {

class MockRequirementsManagementStub : public RequirementsManagementStub {
 public:
  using Stub = RequirementsManagementStub;
  explicit MockRequirementsManagementStub(RequirementsManagementStub& answers) {
    ON_CALL(*this, exportToApplication).WillByDefault(::testing::Invoke(&answers, &Stub::exportToApplication));
  }
  MOCK_METHOD(ExportReply, exportToApplication, (const std::vector<FullTextExportRecord>& records), (override));
};

}  // namespace Halden::Soa::Server
