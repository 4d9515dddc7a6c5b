// Core creation of datasets and items, as the wire carries it. Objects are
// UIDs, "" for none.
//
// What the sample world answers:
// - createDatasets: per input a new "Dataset" "dataset-<n>" named text3, of
//   "object_type" text4 (empty: "Dataset"); when object1 names a revision of
//   the catalog, it is related to it under the relation text2. The output
//   maps text1 to the dataset; the datasets are the reply's created objects.
// - createItems: per input a new "Item" with item id text1, name text2 and
//   "object_type" text3 (empty: "Item"), each attribute as a text property,
//   and a first revision "A"; both are created objects, the output maps the
//   key to them. An item id in use gets a level-3 error and creates nothing.
// - createObjects: per input a new object of the type ("ValReqResult"
//   "valresult-<n>", "ValidationParams" "valparams-<n>", any other type
//   "object-<n>") with the input's typed properties; the output maps the
//   client id to it. An input without a type gets a level-3 error (client
//   index and id its own) and creates nothing.
// - removeNamedReferences: per input, each name is taken off the dataset's
//   "ref_names" with its "ref_list" entry (every entry of that name, case
//   ignored); an unknown dataset, or a name it does not have, gets a level-3
//   error. The datasets are updated.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct DatasetCreateRecord {
  std::string text1;
  std::string object1_uid;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  std::string object2_uid;
};

struct CreateDatasetsReply {
  std::map<std::string, std::string> output;  // text1 -> dataset UID
  WireServiceData data;
};

struct ItemCreateRecord {
  std::string text1;
  std::string text2;
  std::string text3;
  std::map<std::string, std::string> attributes;
};

struct CreatedItemRecord {
  std::string item_uid;
  std::string revision_uid;
};

struct CreateItemsReply {
  std::map<std::string, CreatedItemRecord> output;  // key UID -> what was created
  WireServiceData data;
};

// A new object of a business-object type with typed property values;
// references are UIDs.
struct ObjectCreateRecord {
  std::string client_id;
  std::string type;
  std::map<std::string, std::string> strings;
  std::map<std::string, std::vector<std::string>> string_arrays;
  std::map<std::string, int> ints;
  std::map<std::string, bool> logicals;
  std::map<std::string, Common::DateTime> dates;
  std::map<std::string, std::string> references;
  std::map<std::string, std::vector<std::string>> reference_arrays;
};

struct CreatedObjectsRecord {
  std::string client_id;
  std::vector<std::string> uids;
};

struct CreateObjectsReply {
  std::vector<CreatedObjectsRecord> outputs;  // one per input created, in order
  WireServiceData data;
};

struct NamedReferenceRecord {
  std::string client_id;
  std::string name;
  std::string target_uid;
  bool delete_target = false;
};

struct RemoveNamedReferencesRecord {
  std::string client_id;
  std::string dataset_uid;
  std::vector<NamedReferenceRecord> references;
};

}  // namespace Halden::Soa::Server
