#pragma once

#include <gmock/gmock.h>

#include "halden/server/AiStub.h"

namespace Halden::Soa::Server {

class MockAiStub : public AiStub {
 public:
  using Stub = AiStub;
  explicit MockAiStub(AiStub& answers) {
    ON_CALL(*this, generateStructure).WillByDefault(::testing::Invoke(&answers, &Stub::generateStructure));
  }
  MOCK_METHOD(GenerateStructureReply, generateStructure,
              (const std::vector<GenerationInput>& inputs, std::int64_t value, const std::string& text, int option),
              (override));
};

}  // namespace Halden::Soa::Server
