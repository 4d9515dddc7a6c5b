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
    ON_CALL(*this, refreshObjects).WillByDefault(Invoke(&world, &SampleWorld::refreshObjects));
    ON_CALL(*this, deleteObjects).WillByDefault(Invoke(&world, &SampleWorld::deleteObjects));
    ON_CALL(*this, expandPrimaryObjects).WillByDefault(Invoke(&world, &SampleWorld::expandPrimaryObjects));
    ON_CALL(*this, expandSecondaryObjects).WillByDefault(Invoke(&world, &SampleWorld::expandSecondaryObjects));
    ON_CALL(*this, setProperties).WillByDefault(Invoke(&world, &SampleWorld::setProperties));
    ON_CALL(*this, getDatasetReferences).WillByDefault(Invoke(&world, &SampleWorld::getDatasetReferences));
    ON_CALL(*this, getTypeDescriptions).WillByDefault(Invoke(&world, &SampleWorld::getTypeDescriptions));
  }
  MOCK_METHOD(WireServiceData, getProperties,
              (const std::vector<std::string>& uids, const std::vector<std::string>& names), (override));
  MOCK_METHOD(WireServiceData, loadObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ItemFromIdReply, getItemFromId,
              (const std::vector<ItemIdRequest>& ids, int revision_count,
               const std::vector<RelationFilterRecord>& filters),
              (override));
  MOCK_METHOD(WireServiceData, refreshObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(WireServiceData, deleteObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(RelatedObjectsReply, expandPrimaryObjects,
              (const std::vector<std::string>& uids, const std::vector<RelationFilterRecord>& filters), (override));
  MOCK_METHOD(RelatedObjectsReply, expandSecondaryObjects,
              (const std::vector<std::string>& uids, const std::vector<RelationFilterRecord>& filters), (override));
  using PropertyValues = std::map<std::string, std::vector<std::string>>;
  MOCK_METHOD(WireServiceData, setProperties, (const std::vector<std::string>& uids, const PropertyValues& values),
              (override));
  MOCK_METHOD(DatasetReferencesReply, getDatasetReferences, (const std::vector<std::string>& dataset_uids),
              (override));
  MOCK_METHOD(TypeDescriptionsReply, getTypeDescriptions,
              (const std::vector<TypeDescriptionRequestRecord>& requests), (override));
};

class MockReservationStub : public ReservationStub {
 public:
  explicit MockReservationStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, checkout).WillByDefault(Invoke(&world, &SampleWorld::checkout));
    ON_CALL(*this, checkin).WillByDefault(Invoke(&world, &SampleWorld::checkin));
    ON_CALL(*this, cancelCheckout).WillByDefault(Invoke(&world, &SampleWorld::cancelCheckout));
  }
  MOCK_METHOD(WireServiceData, checkout,
              (const std::vector<std::string>& uids, const std::string& comment, const std::string& change_id),
              (override));
  MOCK_METHOD(WireServiceData, checkin, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(WireServiceData, cancelCheckout, (const std::vector<std::string>& uids), (override));
};

class MockCadDataManagementStub : public CadDataManagementStub {
 public:
  explicit MockCadDataManagementStub(SampleWorld& world) {
    using ::testing::Invoke;
    ON_CALL(*this, getRelatedObjects).WillByDefault(Invoke(&world, &SampleWorld::getRelatedObjects));
    ON_CALL(*this, expandItems).WillByDefault(Invoke(&world, &SampleWorld::expandItems));
  }
  MOCK_METHOD(RelatedObjectsReply, getRelatedObjects,
              (const std::vector<std::string>& uids, const std::vector<RelationFilterRecord>& filters), (override));
  MOCK_METHOD(ExpandItemsReply, expandItems,
              (const std::vector<std::string>& item_uids, const ExpandItemsPreference& preference), (override));
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
