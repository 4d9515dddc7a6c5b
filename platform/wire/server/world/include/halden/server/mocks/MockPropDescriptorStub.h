// GoogleMock stub of the property-descriptor service; by default it answers
// as the given implementation does.
#pragma once

#include <gmock/gmock.h>

#include "halden/server/PropDescriptorStub.h"

namespace Halden::Soa::Server {

class MockPropDescriptorStub : public PropDescriptorStub {
 public:
  using Stub = PropDescriptorStub;
  explicit MockPropDescriptorStub(PropDescriptorStub& answers) {
    using ::testing::Invoke;
    ON_CALL(*this, getAttachedPropDescs).WillByDefault(Invoke(&answers, &PropDescriptorStub::getAttachedPropDescs));
    ON_CALL(*this, getPropDescriptors).WillByDefault(Invoke(&answers, &PropDescriptorStub::getPropDescriptors));
  }
  MOCK_METHOD(AttachedPropDescsReply, getAttachedPropDescs, (const std::vector<AttachedPropDescsRequest>& requests),
              (override));
  MOCK_METHOD(PropDescriptorsReply, getPropDescriptors, (const std::vector<std::string>& type_names), (override));
};

}  // namespace Halden::Soa::Server
