// The CAD part creation as the wire carries it. Objects are UIDs, "" for none.
#pragma once

#include <string>
#include <vector>

#include "halden/server/FileInfoRecords.h"
#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct RelationRecord {
  std::string text1;
  std::string object_uid;
  std::string text2;
  std::string text3;
  std::vector<NameValueRecord> name_values;
};

struct ObjectRefRecord {
  std::string object_uid;
  std::string text1;
  std::string text2;
  std::string text3;
  std::vector<NameValueRecord> name_values;
};

struct PartItemRecord {
  std::string object_uid;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::vector<NameValueRecord> name_values;
  std::vector<ObjectRefRecord> object_refs;
  std::string optional_object_uid;
};

struct PartRevisionRecord {
  std::string object_uid;
  std::string text1;
  std::vector<NameValueRecord> name_values;
  std::vector<ObjectRefRecord> object_refs;
};

struct PartDatasetRecord {
  std::string text1;
  std::string object_uid;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  std::string text6;
  std::string text7;
  bool flag = false;
  std::string text8;
  std::vector<NameValueRecord> name_values1;
  std::vector<NameValueRecord> name_values2;
  std::vector<ObjectRefRecord> object_refs;
  std::vector<FileInfoRecord> file_infos;
  std::vector<RelationRecord> relations;
};

struct PartCreateRecord {
  std::string text;
  PartItemRecord item;
  PartRevisionRecord revision;
  std::vector<PartDatasetRecord> datasets;
};

struct ObjectOutputRecord {
  std::string text;
  std::string object_uid;
};

struct DatasetOutputRecord {
  std::string text;
  std::string dataset_uid;
  std::vector<CommitInfoRecord> commit_infos;
  std::vector<ObjectOutputRecord> objects1;
  std::vector<ObjectOutputRecord> objects2;
};

struct PartOutputRecord {
  std::string text;
  std::string item_uid;
  std::string revision_uid;
  std::vector<DatasetOutputRecord> datasets;
  std::vector<ObjectOutputRecord> objects1;
  std::vector<ObjectOutputRecord> objects2;
};

struct CreatePartsReply {
  std::vector<PartOutputRecord> outputs;
  WireServiceData data;
};

}  // namespace Halden::Soa::Server
