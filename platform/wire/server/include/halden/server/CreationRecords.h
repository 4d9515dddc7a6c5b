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
#pragma once

#include <map>
#include <string>

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

}  // namespace Halden::Soa::Server
