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
    ON_CALL(*this, createOrUpdateRelativeStructure)
        .WillByDefault(Invoke(&answers, &S::createOrUpdateRelativeStructure));
    ON_CALL(*this, createOrUpdateRelativeStructure2)
        .WillByDefault(Invoke(&answers, &S::createOrUpdateRelativeStructure2));
    ON_CALL(*this, deleteRelativeStructure).WillByDefault(Invoke(&answers, &S::deleteRelativeStructure));
    ON_CALL(*this, deleteRelativeStructure2).WillByDefault(Invoke(&answers, &S::deleteRelativeStructure2));
  }
  MOCK_METHOD(RevisionRulesReply, getRevisionRules, (), (override));
  MOCK_METHOD(BomWindowsReply, createBomWindows, (const std::vector<BomWindowRequest>& requests), (override));
  MOCK_METHOD(WireServiceData, closeBomWindows, (const std::vector<std::string>& window_uids), (override));
  MOCK_METHOD(ExpandBomLinesReply, expandBomLinesOneLevel,
              (const std::vector<std::string>& line_uids, const ExpandInfo& info), (override));
  MOCK_METHOD(BomLinesByPathReply, getBomLinesByPath, (const std::vector<BomPathRequest>& requests), (override));
  MOCK_METHOD(ConfiguredRevisionsReply, getConfiguredRevisions,
              (const std::vector<ConfiguredRevisionRequest>& requests), (override));
  MOCK_METHOD(RelativeStructureReply, createOrUpdateRelativeStructure,
              (const std::vector<RelativeStructureRecord>& parents, const std::string& view_type, bool complete,
               const RelativeStructureOptions& options),
              (override));
  MOCK_METHOD(RelativeStructureReply, createOrUpdateRelativeStructure2,
              (const std::vector<RelativeStructureRecord2>& parents, const std::string& view_type, bool complete,
               const RelativeStructureOptions2& options),
              (override));
  MOCK_METHOD(WireServiceData, deleteRelativeStructure,
              (const std::vector<DeleteStructureRecord>& parents, const std::string& view_type,
               const RelativeStructureOptions& options),
              (override));
  MOCK_METHOD(WireServiceData, deleteRelativeStructure2,
              (const std::vector<DeleteStructureRecord2>& parents, const std::string& view_type,
               const RelativeStructureOptions2& options),
              (override));
};

}  // namespace Halden::Soa::Server
