#include "kestrel_relations.h"

namespace kestrel {

std::vector<Halden::Services::Core::RelationFilter> relation_filters(const std::vector<std::string>& names) {
  std::vector<Halden::Services::Core::RelationFilter> filters;
  filters.reserve(names.size());
  for (const auto& name : names) filters.push_back({name, {}});
  return filters;
}

std::vector<Halden::Soa::Client::ModelObject*> first_cad_related_group(
    Halden::Services::Cad::DatamanagementService& service, Halden::Soa::Client::ModelObject* object,
    const std::string& relation_name) {
  auto reply = service.getRelatedObjects({object}, {{relation_name, {}}});
  if (reply.output.empty() || reply.output.front().groups.empty()) return {};
  return std::move(reply.output.front().groups.front().objects);
}

}  // namespace kestrel
