#include "kestrel_ai.h"

#include "halden/services/ai/AiService.h"
#include "kestrel_call.h"
#include "kestrel_request.h"

using Halden::Services::Ai::AiService;
using Halden::Services::Ai::GenerationInput;

std::string KESTREL_generate_structure(const std::vector<std::string>& label_uids,
                                       const std::vector<std::string>& version_uids, std::int64_t value,
                                       const std::string& text, int option) {
  if (label_uids.empty() || version_uids.empty())
    KESTREL_RAISE(940208,
                  "KRAL SOA: Bad Input for KESTREL_generate_structure: label uid array size = 0 or version uid array "
                  "size = 0\n");
  if (label_uids.size() != version_uids.size())
    KESTREL_RAISE(940208,
                  "KRAL SOA: Bad Input for KESTREL_generate_structure: label uids array size != version uids array "
                  "size\n");
  std::vector<GenerationInput> inputs;
  inputs.reserve(label_uids.size());
  for (std::size_t i = 0; i < label_uids.size(); ++i) {
    const std::string& label = label_uids[i];
    const std::string& version = version_uids[i];
    if (label.empty() && version.empty()) continue;
    inputs.push_back({"HxEng", label.empty() ? version : label, version.empty() ? label : version});
  }
  auto reply = kestrel::soa_request<AiService>(
      KESTREL_HERE, [&](AiService& ai) { return ai.generateStructure(inputs, value, text, option); });
  if (reply.result.empty()) KESTREL_RAISE(940209, "KRAL SOA: Failed to generate structure");
  return reply.result;
}
