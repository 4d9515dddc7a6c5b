// GoogleMock stubs of each service family. Their defaults answer from a
// sample world, so a test scripts only what it wants to differ.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/SampleWorld.h"
#include "halden/server/Stubs.h"

namespace Halden::Soa::Server {

class MockSessionStub : public SessionStub {
 public:
  explicit MockSessionStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, login).WillByDefault(Invoke(&world, &SampleWorld::login));
    ON_CALL(*this, logout).WillByDefault(Invoke(&world, &SampleWorld::logout));
    ON_CALL(*this, getSessionInfo).WillByDefault(Invoke(&world, &SampleWorld::getSessionInfo));
    ON_CALL(*this, getPreferences).WillByDefault(Invoke(&world, &SampleWorld::getPreferences));
    ON_CALL(*this, getAvailableServices).WillByDefault(Invoke(&world, &SampleWorld::getAvailableServices));
    ON_CALL(*this, refreshPOMCachePerRequest).WillByDefault(Invoke(&world, &SampleWorld::refreshPOMCachePerRequest));
  }
  MOCK_METHOD(WireServiceData, login, (const LoginRequest& request), (override));
  MOCK_METHOD(WireServiceData, logout, (), (override));
  MOCK_METHOD(SessionInfoReply, getSessionInfo, (), (override));
  MOCK_METHOD(PreferencesReply, getPreferences, (const std::string& scope, const std::vector<std::string>& names),
              (override));
  MOCK_METHOD(std::vector<std::string>, getAvailableServices, (), (override));
  MOCK_METHOD(WireServiceData, refreshPOMCachePerRequest, (bool refresh), (override));
};

class MockDataManagementStub : public DataManagementStub {
 public:
  explicit MockDataManagementStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, getProperties).WillByDefault(Invoke(&world, &SampleWorld::getProperties));
    ON_CALL(*this, loadObjects).WillByDefault(Invoke(&world, &SampleWorld::loadObjects));
    ON_CALL(*this, getItemFromId).WillByDefault(Invoke(&world, &SampleWorld::getItemFromId));
  }
  MOCK_METHOD(WireServiceData, getProperties,
              (const std::vector<std::string>& uids, const std::vector<std::string>& names), (override));
  MOCK_METHOD(WireServiceData, loadObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ItemFromIdReply, getItemFromId,
              (const std::vector<ItemIdRequest>& ids, int revision_count,
               const std::vector<RelationFilterRecord>& filters),
              (override));
};

class MockStructureManagementStub : public StructureManagementStub {
 public:
  explicit MockStructureManagementStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, getRevisionRules).WillByDefault(Invoke(&world, &SampleWorld::getRevisionRules));
    ON_CALL(*this, createBomWindows).WillByDefault(Invoke(&world, &SampleWorld::createBomWindows));
    ON_CALL(*this, closeBomWindows).WillByDefault(Invoke(&world, &SampleWorld::closeBomWindows));
    ON_CALL(*this, expandBomLinesOneLevel).WillByDefault(Invoke(&world, &SampleWorld::expandBomLinesOneLevel));
    ON_CALL(*this, getBomLinesByPath).WillByDefault(Invoke(&world, &SampleWorld::getBomLinesByPath));
    ON_CALL(*this, getConfiguredRevisions).WillByDefault(Invoke(&world, &SampleWorld::getConfiguredRevisions));
    ON_CALL(*this, createOrUpdateRelativeStructure)
        .WillByDefault(Invoke(&world, &SampleWorld::createOrUpdateRelativeStructure));
    ON_CALL(*this, createOrUpdateRelativeStructure2)
        .WillByDefault(Invoke(&world, &SampleWorld::createOrUpdateRelativeStructure2));
    ON_CALL(*this, deleteRelativeStructure).WillByDefault(Invoke(&world, &SampleWorld::deleteRelativeStructure));
    ON_CALL(*this, deleteRelativeStructure2).WillByDefault(Invoke(&world, &SampleWorld::deleteRelativeStructure2));
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

class MockPreferenceManagementStub : public PreferenceManagementStub {
 public:
  explicit MockPreferenceManagementStub(SampleWorld& world) {
    ON_CALL(*this, setPreferences).WillByDefault(::testing::Invoke(&world, &SampleWorld::setPreferences));
  }
  MOCK_METHOD(WireServiceData, setPreferences, (const std::vector<PreferenceScope>& scopes), (override));
};

class MockConnectionStub : public ConnectionStub {
 public:
  explicit MockConnectionStub(SampleWorld& world) {
    ON_CALL(*this, getOption).WillByDefault(::testing::Invoke(&world, &SampleWorld::getOption));
  }
  MOCK_METHOD(std::string, getOption, (int option), (override));
};

}  // namespace Halden::Soa::Server
