// GoogleMock stub of CAD structure management; by default it answers as the
// given implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/StructureManagementStub.h"

namespace Halden::Soa::Server {

class MockStructureManagementStub : public StructureManagementStub {
 public:
  using Stub = StructureManagementStub;
  explicit MockStructureManagementStub(StructureManagementStub& answers) {
    using ::testing::Invoke;
    using S = StructureManagementStub;
    ON_CALL(*this, getRevisionRules).WillByDefault(Invoke(&answers, &S::getRevisionRules));
    ON_CALL(*this, createBomWindows).WillByDefault(Invoke(&answers, &S::createBomWindows));
    ON_CALL(*this, closeBomWindows).WillByDefault(Invoke(&answers, &S::closeBomWindows));
    ON_CALL(*this, expandBomLinesOneLevel).WillByDefault(Invoke(&answers, &S::expandBomLinesOneLevel));
    ON_CALL(*this, getBomLinesByPath).WillByDefault(Invoke(&answers, &S::getBomLinesByPath));
    ON_CALL(*this, getConfiguredRevisions).WillByDefault(Invoke(&answers, &S::getConfiguredRevisions));
  }
  MOCK_METHOD(RevisionRulesReply, getRevisionRules, (), (override));
  MOCK_METHOD(BomWindowsReply, createBomWindows, (const std::vector<BomWindowRequest>& requests), (override));
  MOCK_METHOD(WireServiceData, closeBomWindows, (const std::vector<std::string>& window_uids), (override));
  MOCK_METHOD(ExpandBomLinesReply, expandBomLinesOneLevel,
              (const std::vector<std::string>& line_uids, const ExpandInfo& info), (override));
  MOCK_METHOD(BomLinesByPathReply, getBomLinesByPath, (const std::vector<BomPathRequest>& requests), (override));
  MOCK_METHOD(ConfiguredRevisionsReply, getConfiguredRevisions,
              (const std::vector<ConfiguredRevisionRequest>& requests), (override));
};

}  // namespace Halden::Soa::Server
