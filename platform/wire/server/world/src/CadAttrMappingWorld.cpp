#include "halden/server/world/CadDataManagementWorld.h"

namespace Halden::Soa::Server {

namespace {
const std::vector<std::string> kSettings = {"mapping_type", "attr_title", "constant_value", "preference_name",
                                            "freezable",    "cad_master", "write_once",     "ostra_master"};
}

void CadDataManagementWorld::add_definition(const Definition& d) {
  using namespace props;
  store_.add_object(d.uid, {"CadAttrMappingDefinition", "POM_object"},
                    {integer("mapping_type", d.mapping_type), str("attr_title", d.title),
                     str("constant_value", d.constant_value), str("preference_name", d.preference_name),
                     logical("freezable", d.freezable), logical("cad_master", d.cad_master),
                     logical("write_once", d.write_once), logical("ostra_master", d.ostra_master)});
  definitions_[d.uid] = d;
}

void CadDataManagementWorld::set_context(const std::string& text1, const std::string& text2,
                                         std::vector<std::string> definition_uids) {
  contexts_[{text1, text2}] = std::move(definition_uids);
}

AttrMappingDefinitionsReply CadDataManagementWorld::getAttrMappingDefinitions(
    const std::vector<AttrMappingContextRecord>& contexts) {
  AttrMappingDefinitionsReply reply;
  UidList carried;
  for (const auto& context : contexts) {
    AttrMappingContextOutput output{context.text1, context.text2, {}};
    auto it = contexts_.find({context.text1, context.text2});
    if (it != contexts_.end()) {
      for (const auto& uid : it->second) {
        const Definition& d = definitions_.at(uid);
        output.mappings.push_back({uid, d.description});
        carried.add(uid);
        carried.add(d.description.lov_uid);
      }
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), kSettings);
  return reply;
}

std::string CadDataManagementWorld::first_reference(const std::string& uid, const std::string& property) const {
  const auto* object = store_.find(uid);
  if (!object) return {};
  auto it = object->properties.find(property);
  if (it == object->properties.end() || it->second.is_null || it->second.references.empty()) return {};
  return it->second.references.front();
}

std::string CadDataManagementWorld::source_of(const Definition& d, const ResolveAttrMappingsRequest& request) const {
  std::string uid;
  if (d.source == "revision") uid = request.item_revision_uid;
  if (d.source == "dataset") uid = request.dataset_uid;
  if (d.source == "item") uid = first_reference(request.item_revision_uid, "items_tag");
  if (d.source == "master_form") uid = first_reference(request.item_revision_uid, "OSTRA_master_form_rev");
  if (d.source == "item_form")
    uid = first_reference(first_reference(request.item_revision_uid, "items_tag"), "OSTRA_master_form");
  const auto* object = uid.empty() ? nullptr : store_.find(uid);
  if (!object || !object->properties.count(d.property)) return {};
  return uid;
}

ResolveAttrMappingsReply CadDataManagementWorld::resolveAttrMappings(
    const std::vector<ResolveAttrMappingsRequest>& requests) {
  ResolveAttrMappingsReply reply;
  UidList carried;
  UidList names;
  for (const auto& request : requests) {
    ResolveAttrMappingsOutput output{request.dataset_uid, {}};
    carried.add(request.dataset_uid);
    for (const auto& uid : request.definition_uids) {
      auto it = definitions_.find(uid);
      if (it == definitions_.end()) continue;
      const Definition& d = it->second;
      std::string source = source_of(d, request);
      carried.add(source);
      if (!source.empty()) names.add(d.property);
      output.resolved.push_back({d.title, std::move(source), d.property});
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), names.uids());
  return reply;
}

}  // namespace Halden::Soa::Server
