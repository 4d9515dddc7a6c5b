// Core data management: properties, loading, items by id, and the object
// operations: refresh, delete, relations, property writing, dataset
// references and type descriptions.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/CreationRecords.h"
#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ItemIdRequest {
  std::string item_id;
  std::vector<std::string> revision_ids;  // none: the newest revisions, as many as the count asks
};

struct ItemRevisionEntry {
  std::string revision_uid;               // "" for none
  std::vector<std::string> dataset_uids;  // "" for none
};

struct ItemFromIdOutput {
  std::string item_uid;
  std::vector<ItemRevisionEntry> revisions;
};

struct ItemFromIdReply {
  std::vector<ItemFromIdOutput> outputs;  // one per item found
  WireServiceData data;
};

// A named reference of a dataset.
struct DatasetReferenceRecord {
  std::string name;       // the reference's name ("ref_names")
  bool is_file = false;   // the referenced object is a file ("OstraFile")
  std::string file_name;  // the file's "original_file_name"; "" for other objects
  std::string uid;        // the referenced object ("ref_list")
};

struct DatasetReferencesOutput {
  std::string dataset_uid;  // "" when the dataset is not known
  std::vector<DatasetReferenceRecord> references;
};

struct DatasetReferencesReply {
  std::vector<DatasetReferencesOutput> outputs;
  WireServiceData data;
};

struct TypeDescriptionRequestRecord {
  std::string type_name;
  std::vector<std::string> names;  // none: every entry the type has
};

struct TypeDescriptionEntryRecord {
  std::string name;
  std::vector<std::string> values;
};

struct TypeDescriptionsReply {
  std::map<std::string, std::vector<TypeDescriptionEntryRecord>> types;  // by type name
  WireServiceData data;
};

// What the sample world answers for the object operations:
// - refreshObjects: every known object as updated, with its policy's
//   properties as the store holds them now; an unknown UID a level-3 error.
// - deleteObjects: removes each object that no other stored object references
//   and answers its UID as deleted; a referenced object stays and gets a
//   level-3 error (515050) associated with it; an unknown UID a level-3 error.
// - expandPrimaryObjects: per object and filter, one group named for the
//   relation holding the objects its reference property of that name names
//   (of the filter's types, any when none; every reference property when the
//   filter names no relation); expandSecondaryObjects the other
//   way round: the stored objects whose property of that name references it.
// - setProperties: writes the values as strings on every object (one value
//   on a single string property stays single, anything else becomes a string
//   list) and answers the objects as updated; a name the object does not
//   have, or an unknown object, gets a level-3 error and writes nothing.
// - getDatasetReferences: per dataset its "ref_names" paired with its
//   "ref_list" in order; an "OstraFile" is a file with its
//   "original_file_name". An unknown UID answers an output without a dataset
//   and a level-3 error.
// - getTypeDescriptions: the world's type registry ("Item", "ItemRevision",
//   "Dataset", "Folder", "OstraFile"): entries "parent_type", "display_name"
//   and "property_names"; an unknown entry name is left out, an unknown type a
//   level-3 error (the type is then left out of the map).
class DataManagementStub {
 public:
  virtual ~DataManagementStub() = default;
  // An empty name list asks for the standard properties of the policy in force.
  virtual WireServiceData getProperties(const std::vector<std::string>& uids,
                                        const std::vector<std::string>& names) = 0;
  virtual WireServiceData loadObjects(const std::vector<std::string>& uids) = 0;
  // No filter: every dataset of each revision.
  virtual ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                        const std::vector<RelationFilterRecord>& filters) = 0;
  virtual CreateDatasetsReply createDatasets(const std::vector<DatasetCreateRecord>& inputs) = 0;
  // Keyed by the UID of the input's key object.
  virtual CreateItemsReply createItems(const std::map<std::string, ItemCreateRecord>& inputs) = 0;
  virtual CreateObjectsReply createObjects(const std::vector<ObjectCreateRecord>& inputs) = 0;
  virtual WireServiceData removeNamedReferences(const std::vector<RemoveNamedReferencesRecord>& inputs) = 0;
  virtual WireServiceData refreshObjects(const std::vector<std::string>& uids) = 0;
  virtual WireServiceData deleteObjects(const std::vector<std::string>& uids) = 0;
  // The objects the given ones reference through each filter's relation.
  virtual RelatedObjectsReply expandPrimaryObjects(const std::vector<std::string>& uids,
                                                   const std::vector<RelationFilterRecord>& filters) = 0;
  // The objects that reference the given ones through each filter's relation.
  virtual RelatedObjectsReply expandSecondaryObjects(const std::vector<std::string>& uids,
                                                     const std::vector<RelationFilterRecord>& filters) = 0;
  virtual WireServiceData setProperties(const std::vector<std::string>& uids,
                                        const std::map<std::string, std::vector<std::string>>& values) = 0;
  virtual DatasetReferencesReply getDatasetReferences(const std::vector<std::string>& dataset_uids) = 0;
  virtual TypeDescriptionsReply getTypeDescriptions(const std::vector<TypeDescriptionRequestRecord>& requests) = 0;
};

}  // namespace Halden::Soa::Server
