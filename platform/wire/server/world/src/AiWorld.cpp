#include "halden/server/world/AiWorld.h"

namespace Halden::Soa::Server {

// "<application>:<label>/<version>;..." then the other arguments; empty
// when there was no pair, as a real service answers nothing to generate.
GenerateStructureReply AiWorld::generateStructure(const std::vector<GenerationInput>& inputs, std::int64_t value,
                                                  const std::string& text, int option) {
  GenerateStructureReply reply;
  if (inputs.empty()) return reply;
  for (const auto& in : inputs) reply.result += in.application + ":" + in.label_uid + "/" + in.version_uid + ";";
  reply.result += " " + std::to_string(value) + " " + text + " " + std::to_string(option);
  return reply;
}

}  // namespace Halden::Soa::Server
