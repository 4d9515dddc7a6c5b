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
    ON_CALL(*this, createParts).WillByDefault(Invoke(&answers, &CadDataManagementStub::createParts));
    ON_CALL(*this, getAttrMappingDefinitions)
        .WillByDefault(Invoke(&answers, &CadDataManagementStub::getAttrMappingDefinitions));
    ON_CALL(*this, resolveAttrMappings).WillByDefault(Invoke(&answers, &CadDataManagementStub::resolveAttrMappings));
  }
  MOCK_METHOD(RelatedObjectsReply, getRelatedObjects,
              (const std::vector<std::string>& uids, const std::vector<RelationFilterRecord>& filters), (override));
  MOCK_METHOD(ExpandItemsReply, expandItems,
              (const std::vector<std::string>& item_uids, const ExpandItemsPreference& preference), (override));
  MOCK_METHOD(CreatePartsReply, createParts, (const std::vector<PartCreateRecord>& parts), (override));
  MOCK_METHOD(AttrMappingDefinitionsReply, getAttrMappingDefinitions,
              (const std::vector<AttrMappingContextRecord>& contexts), (override));
  MOCK_METHOD(ResolveAttrMappingsReply, resolveAttrMappings, (const std::vector<ResolveAttrMappingsRequest>& requests),
              (override));
};

}  // namespace Halden::Soa::Server
