// CAD data management: related objects and items expanded with their
// revisions and datasets.
//
// What the sample world answers:
// - getRelatedObjects: as core data management's expandPrimaryObjects, per
//   object one group per filter, named for the relation, holding what the
//   object's reference property of that name names (of the filter's types).
// - expandItems: per input, in request order, one output. An item answers one
//   item entry with all its revisions, oldest first, each with its datasets
//   of the filters' types (a filter with an empty relation name matches every
//   relation; no types: every dataset). A revision answers a loose revision
//   entry with its datasets. Anything else, or an unknown UID, answers an
//   empty output and a level-3 error. The objects list stays empty; the flag
//   and the related-data mode are not interpreted.
// - createParts: per part, as core createItems and createDatasets do: an
//   item of the item section's text1 (id), text2 (name), text3 (type) with
//   its name values as text properties and a first revision "A" (the
//   revision section is not interpreted), and per dataset section a dataset
//   named text2 of type text3 related to the revision under text4, with one
//   commit info holding, per file info, its five fields and a write ticket in
//   text4 (committed through file management). Outputs and dataset outputs
//   echo the sections' text and text1; the object lists stay empty. An item
//   id in use answers no output for the part and a level-3 error.
//   A part whose item section names an existing item writes instead: per
//   dataset section (its object an existing dataset), each pair of
//   name_values1 is {attribute title; value} of the definition of that title
//   in the context (item's "object_type", dataset type's
//   "datasettype_name"); the value, read as the stored property's type, goes
//   to the property where resolveAttrMappings finds it. The output echoes
//   the item, revision and datasets; the changed objects come back updated,
//   carrying the written properties. A title the context does not map, a
//   property that may not be modified or a value that does not read as its
//   type writes nothing and answers a level-3 error for the part; a mapping
//   without a source object (constants, preferences) writes nothing.
// - getAttrMappingDefinitions: one output per context, its definitions
//   ("CadAttrMappingDefinition" objects with their settings) and descriptors.
// - resolveAttrMappings: one output per request entry; a value's source
//   object comes in the reply with its property.
// Datasets carry their file references on "ref_list" ("OstraFile" objects)
// and "ref_names", outside the Dataset policy.
#pragma once

#include <string>
#include <vector>

#include "halden/server/CadAttrMappingRecords.h"
#include "halden/server/PartCreationRecords.h"
#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ExpandItemsPreference {
  bool flag = false;
  int related_data_mode = 0;
  std::vector<RelationFilterRecord> filters;
};

struct ExpandedRevision {
  std::string revision_uid;               // "" for none
  std::vector<std::string> dataset_uids;  // "" for none
};

struct ExpandedItem {
  std::string item_uid;  // "" for none
  std::vector<ExpandedRevision> revisions;
};

struct ExpandItemsOutput {
  std::string input_uid;
  std::vector<std::string> objects;  // "" for none
  std::vector<ExpandedItem> items;
  std::vector<ExpandedRevision> revisions;
};

struct ExpandItemsReply {
  std::vector<ExpandItemsOutput> outputs;
  WireServiceData data;
};

class CadDataManagementStub {
 public:
  virtual ~CadDataManagementStub() = default;
  virtual RelatedObjectsReply getRelatedObjects(const std::vector<std::string>& uids,
                                                const std::vector<RelationFilterRecord>& filters) = 0;
  virtual ExpandItemsReply expandItems(const std::vector<std::string>& item_uids,
                                       const ExpandItemsPreference& preference) = 0;
  virtual CreatePartsReply createParts(const std::vector<PartCreateRecord>& parts) = 0;
  virtual AttrMappingDefinitionsReply getAttrMappingDefinitions(
      const std::vector<AttrMappingContextRecord>& contexts) = 0;
  virtual ResolveAttrMappingsReply resolveAttrMappings(const std::vector<ResolveAttrMappingsRequest>& requests) = 0;
};

}  // namespace Halden::Soa::Server
