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
    ON_CALL(*this, createDatasets).WillByDefault(Invoke(&answers, &DataManagementStub::createDatasets));
    ON_CALL(*this, createItems).WillByDefault(Invoke(&answers, &DataManagementStub::createItems));
    ON_CALL(*this, createObjects).WillByDefault(Invoke(&answers, &DataManagementStub::createObjects));
    ON_CALL(*this, removeNamedReferences).WillByDefault(Invoke(&answers, &DataManagementStub::removeNamedReferences));
    ON_CALL(*this, refreshObjects).WillByDefault(Invoke(&answers, &DataManagementStub::refreshObjects));
    ON_CALL(*this, deleteObjects).WillByDefault(Invoke(&answers, &DataManagementStub::deleteObjects));
    ON_CALL(*this, expandPrimaryObjects).WillByDefault(Invoke(&answers, &DataManagementStub::expandPrimaryObjects));
    ON_CALL(*this, expandSecondaryObjects).WillByDefault(Invoke(&answers, &DataManagementStub::expandSecondaryObjects));
    ON_CALL(*this, setProperties).WillByDefault(Invoke(&answers, &DataManagementStub::setProperties));
    ON_CALL(*this, getDatasetReferences).WillByDefault(Invoke(&answers, &DataManagementStub::getDatasetReferences));
    ON_CALL(*this, getTypeDescriptions).WillByDefault(Invoke(&answers, &DataManagementStub::getTypeDescriptions));
  }
  MOCK_METHOD(WireServiceData, getProperties,
              (const std::vector<std::string>& uids, const std::vector<std::string>& names), (override));
  MOCK_METHOD(WireServiceData, loadObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ItemFromIdReply, getItemFromId,
              (const std::vector<ItemIdRequest>& ids, int revision_count,
               const std::vector<RelationFilterRecord>& filters),
              (override));
  MOCK_METHOD(CreateDatasetsReply, createDatasets, (const std::vector<DatasetCreateRecord>& inputs), (override));
  using ItemCreateRecords = std::map<std::string, ItemCreateRecord>;
  MOCK_METHOD(CreateItemsReply, createItems, (const ItemCreateRecords& inputs), (override));
  MOCK_METHOD(CreateObjectsReply, createObjects, (const std::vector<ObjectCreateRecord>& inputs), (override));
  MOCK_METHOD(WireServiceData, removeNamedReferences, (const std::vector<RemoveNamedReferencesRecord>& inputs),
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
  MOCK_METHOD(DatasetReferencesReply, getDatasetReferences, (const std::vector<std::string>& dataset_uids), (override));
  MOCK_METHOD(TypeDescriptionsReply, getTypeDescriptions, (const std::vector<TypeDescriptionRequestRecord>& requests),
              (override));
};

}  // namespace Halden::Soa::Server
