// The sample world's structure generation: the answer names every pair
// it was given, so a test sees what arrived.
#pragma once

#include "halden/server/AiStub.h"

namespace Halden::Soa::Server {

class AiWorld : public AiStub {
 public:
  GenerateStructureReply generateStructure(const std::vector<GenerationInput>& inputs, std::int64_t value,
                                           const std::string& text, int option) override;
};

}  // namespace Halden::Soa::Server
