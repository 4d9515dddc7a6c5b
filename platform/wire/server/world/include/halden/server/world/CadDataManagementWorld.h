// CAD data management in the sample world: related objects as core data
// management follows them, and items expanded with all their revisions and
// datasets, as CadDataManagementStub.h tells; attribute-mapping definitions
// per context, each stored as a "CadAttrMappingDefinition" object, resolved
// against the store's items, revisions and datasets (CadAttrMappingWorld.cpp).
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "halden/server/CadDataManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/DataManagementWorld.h"
#include "halden/server/world/FileManagementWorld.h"

namespace Halden::Soa::Server {

class CadDataManagementWorld : public CadDataManagementStub {
 public:
  struct Definition {
    std::string uid;
    int mapping_type = 1;
    std::string title;
    // Where a property mapping finds its value: "item" (the revision's
    // "items_tag"), "revision", "dataset" or "master_form" (the revision's
    // first "OSTRA_master_form_rev"), "item_form" (the item's first
    // "OSTRA_master_form"); anything else has no source object.
    std::string source;
    std::string property;
    AttrPropDescRecord description;
    bool freezable = false, cad_master = false, write_once = false, ostra_master = false;
    std::string constant_value, preference_name;
  };

  CadDataManagementWorld(WorldStore& store, DataManagementWorld& datamanagement, FileManagementWorld& files)
      : store_(store), datamanagement_(datamanagement), files_(files) {}

  RelatedObjectsReply getRelatedObjects(const std::vector<std::string>& uids,
                                        const std::vector<RelationFilterRecord>& filters) override;
  ExpandItemsReply expandItems(const std::vector<std::string>& item_uids,
                               const ExpandItemsPreference& preference) override;
  // PartCreationWorld.cpp.
  CreatePartsReply createParts(const std::vector<PartCreateRecord>& parts) override;

  void add_definition(const Definition& definition);
  // The definitions of a context, in order.
  void set_context(const std::string& text1, const std::string& text2, std::vector<std::string> definition_uids);
  AttrMappingDefinitionsReply getAttrMappingDefinitions(const std::vector<AttrMappingContextRecord>& contexts) override;
  ResolveAttrMappingsReply resolveAttrMappings(const std::vector<ResolveAttrMappingsRequest>& requests) override;

 private:
  WorldStore& store_;
  DataManagementWorld& datamanagement_;
  FileManagementWorld& files_;  // write tickets of created datasets

  std::string source_of(const Definition& definition, const ResolveAttrMappingsRequest& request) const;
  // CadAttrMappingWorld.cpp: a part naming its existing item writes its
  // datasets' attribute pairs into the store.
  struct Written {
    UidList objects, names;
    std::vector<WireErrorStack> errors;
  };
  PartOutputRecord write_attributes(const PartCreateRecord& part, int index, Written& written);
  const Definition* definition_titled(const std::string& item_uid, const std::string& dataset_uid,
                                      const std::string& title) const;
  std::string first_reference(const std::string& uid, const std::string& property) const;
  std::unordered_map<std::string, Definition> definitions_;
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> contexts_;
};

}  // namespace Halden::Soa::Server
