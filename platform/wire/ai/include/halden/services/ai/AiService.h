// The AI service: structure generation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Ai {

struct GenerationInput {
  std::string applicationName;
  std::string labelUid;
  std::string versionUid;
};

struct GenerateStructureResponse {
  std::string result;
  Soa::Client::ServiceData serviceData;
};

class AiService {
 public:
  static AiService* getService(Soa::Client::Connection* connection);
  explicit AiService(Soa::Client::Connection* connection) : connection_(connection) {}

  GenerateStructureResponse generateStructure(const std::vector<GenerationInput>& inputs, std::int64_t value,
                                              const std::string& text, int option);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Ai
