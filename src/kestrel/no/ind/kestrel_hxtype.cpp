#include "kestrel_hxtype.h"

#include <memory>

#include "halden/services/core/DatamanagementService.h"
#include "kestrel_call.h"
#include "kestrel_request.h"

namespace Core = Halden::Services::Core;

std::map<std::string, std::vector<TypeDescriptionEntry>>* KESTREL_ask_type_descriptions(
    const std::vector<TypeDescriptionRequest>& requests) {
  std::vector<Core::TypeDescriptionInput> inputs;
  inputs.reserve(requests.size());
  for (const auto& request : requests) inputs.push_back({request.type_name, request.names});
  const auto reply = kestrel::soa_request<Core::DatamanagementService>(
      KESTREL_HERE, [&](Core::DatamanagementService& dm) { return dm.getTypeDescriptions(inputs); });

  auto descriptions = std::make_unique<std::map<std::string, std::vector<TypeDescriptionEntry>>>();
  for (const auto& [type, values] : reply.descriptions) {
    auto& entries = descriptions->emplace_hint(descriptions->end(), type, std::vector<TypeDescriptionEntry>{})->second;
    entries.reserve(values.size());
    for (const auto& value : values) entries.push_back({value.name, value.values});
  }
  return descriptions.release();
}
