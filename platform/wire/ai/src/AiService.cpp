#include "halden/services/ai/AiService.h"

#include "halden/server/AiStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Ai {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::require;
namespace Wire = Soa::Server;

namespace {
constexpr const char* kService = "Ai-2021-06-Ai";
}  // namespace

AiService* AiService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<AiService>(connection, kService);
}

GenerateStructureResponse AiService::generateStructure(const std::vector<GenerationInput>& inputs,
                                                       std::int64_t value, const std::string& text, int option) {
  std::vector<Wire::GenerationInput> records;
  records.reserve(inputs.size());
  for (const auto& in : inputs) records.push_back({in.applicationName, in.labelUid, in.versionUid});
  auto reply = invoke(*connection_, kService, "generateStructure", [&](Wire::Server& server) {
    return require<Wire::AiStub>(server, kService).generateStructure(records, value, text, option);
  });
  GenerateStructureResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.result = std::move(reply.result);
  return out;
}

}  // namespace Halden::Services::Ai
