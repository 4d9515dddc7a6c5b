// CAD data management in the sample world: attribute-mapping definitions per
// context, each stored as a "CadAttrMappingDefinition" object, and their
// resolution against the store's items, revisions and datasets.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "halden/server/CadDataManagementStub.h"
#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class CadDataManagementWorld : public CadDataManagementStub {
 public:
  struct Definition {
    std::string uid;
    int mapping_type = 1;
    std::string title;
    // Where a property mapping finds its value: "item" (the revision's
    // "items_tag"), "revision", "dataset" or "master_form" (the revision's
    // first "OSTRA_master_form_rev"); anything else has no source object.
    std::string source;
    std::string property;
    AttrPropDescRecord description;
    bool freezable = false, cad_master = false, write_once = false, ostra_master = false;
    std::string constant_value, preference_name;
  };

  explicit CadDataManagementWorld(WorldStore& store) : store_(store) {}

  void add_definition(const Definition& definition);
  // The definitions of a context, in order.
  void set_context(const std::string& text1, const std::string& text2, std::vector<std::string> definition_uids);

  AttrMappingDefinitionsReply getAttrMappingDefinitions(const std::vector<AttrMappingContextRecord>& contexts) override;
  ResolveAttrMappingsReply resolveAttrMappings(const std::vector<ResolveAttrMappingsRequest>& requests) override;

 private:
  std::string source_of(const Definition& definition, const ResolveAttrMappingsRequest& request) const;
  std::string first_reference(const std::string& uid, const std::string& property) const;

  WorldStore& store_;
  std::unordered_map<std::string, Definition> definitions_;
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> contexts_;
};

}  // namespace Halden::Soa::Server
