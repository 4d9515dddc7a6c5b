// GoogleMock stub of the classification family; its defaults answer from
// any implementation given (normally the sample world's part).
#pragma once

#include <gmock/gmock.h>

#include "halden/server/ClassificationStub.h"

namespace Halden::Soa::Server {

class MockClassificationStub : public ClassificationStub {
 public:
  using Stub = ClassificationStub;
  explicit MockClassificationStub(ClassificationStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, writeClassificationObjects).WillByDefault(Invoke(&answers, &Stub::writeClassificationObjects));
    ON_CALL(*this, writeClassificationObjects2).WillByDefault(Invoke(&answers, &Stub::writeClassificationObjects2));
    ON_CALL(*this, sendClassificationObjects).WillByDefault(Invoke(&answers, &Stub::sendClassificationObjects));
    ON_CALL(*this, getClasses).WillByDefault(Invoke(&answers, &Stub::getClasses));
    ON_CALL(*this, getClassDescriptions).WillByDefault(Invoke(&answers, &Stub::getClassDescriptions));
    ON_CALL(*this, getClassificationTable).WillByDefault(Invoke(&answers, &Stub::getClassificationTable));
    ON_CALL(*this, getObjectsOfIds).WillByDefault(Invoke(&answers, &Stub::getObjectsOfIds));
    ON_CALL(*this, getAttributes).WillByDefault(Invoke(&answers, &Stub::getAttributes));
    ON_CALL(*this, searchClasses).WillByDefault(Invoke(&answers, &Stub::searchClasses));
    ON_CALL(*this, searchClassificationObjects).WillByDefault(Invoke(&answers, &Stub::searchClassificationObjects));
    ON_CALL(*this, getPomObjects).WillByDefault(Invoke(&answers, &Stub::getPomObjects));
    ON_CALL(*this, getClassificationsOfObjects).WillByDefault(Invoke(&answers, &Stub::getClassificationsOfObjects));
    ON_CALL(*this, getClassificationObjectsByKey).WillByDefault(Invoke(&answers, &Stub::getClassificationObjectsByKey));
    ON_CALL(*this, getClassificationObjectData).WillByDefault(Invoke(&answers, &Stub::getClassificationObjectData));
    ON_CALL(*this, getValueTables).WillByDefault(Invoke(&answers, &Stub::getValueTables));
  }
  MOCK_METHOD(WireServiceData, writeClassificationObjects, (const std::vector<ClassificationObjectData>& records),
              (override));
  MOCK_METHOD(WireServiceData, writeClassificationObjects2, (const std::vector<ClassificationObjectData>& records),
              (override));
  MOCK_METHOD(WireServiceData, sendClassificationObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ClassesReply, getClasses, (const std::vector<std::string>& class_ids), (override));
  MOCK_METHOD(ClassDescriptionsReply, getClassDescriptions, (const std::vector<std::string>& class_ids), (override));
  MOCK_METHOD(ClassificationTableReply, getClassificationTable, (const std::vector<std::string>& keys), (override));
  MOCK_METHOD(ObjectListsReply, getObjectsOfIds, (const std::vector<std::string>& class_ids), (override));
  MOCK_METHOD(AttributesReply, getAttributes, (const std::vector<std::string>& class_ids), (override));
  MOCK_METHOD(ClassSearchReply, searchClasses, (const std::vector<ClassQueryRecord>& queries), (override));
  MOCK_METHOD(ObjectListsReply, searchClassificationObjects, (const std::vector<ObjectSearchRecord>& records),
              (override));
  MOCK_METHOD(ObjectsReply, getPomObjects, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ObjectListsReply, getClassificationsOfObjects, (const std::vector<std::string>& workspace_uids),
              (override));
  MOCK_METHOD(ObjectListsReply, getClassificationObjectsByKey, (const std::vector<std::string>& keys), (override));
  MOCK_METHOD(ObjectDataReply, getClassificationObjectData, (const std::vector<std::string>& uids), (override));
  MOCK_METHOD(ValueTablesReply, getValueTables, (const std::vector<std::string>& ids), (override));
};

}  // namespace Halden::Soa::Server
