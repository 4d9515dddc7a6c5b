// AI structure generation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct GenerationInput {
  std::string application, label_uid, version_uid;
};

struct GenerateStructureReply {
  std::string result;
  WireServiceData data;
};

class AiStub {
 public:
  virtual ~AiStub() = default;
  virtual GenerateStructureReply generateStructure(const std::vector<GenerationInput>& inputs, std::int64_t value,
                                                   const std::string& text, int option) = 0;
};

}  // namespace Halden::Soa::Server
