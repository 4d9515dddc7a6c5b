// Records of the CAD creation and dataset-file slots (95 to 100). Field order
// and types are the interface with the host. The numbered fields carry what
// the server's operations give them; this library copies them field by field.
#pragma once

#include <unordered_map>
#include <vector>

#include "corerun/ustring.h"

namespace Orvane::PdmSoa {
class ModelObject;
class Item;
class ItemRevision;
class Dataset;
}  // namespace Orvane::PdmSoa

// Inputs. Host objects become their server objects (none without one).

struct NameValueInput {
  UString name;
  UString value;
};

struct FileInfoInput {
  UString text1;
  UString text2;
  UString text3;
  bool flag1 = false;
  bool flag2 = false;
};

struct FileInfoInputExt {
  UString text1;
  UString text2;
  UString text3;
  bool flag1 = false;
  bool flag2 = false;
  UString text4;
};

struct DatasetCreateInput {
  UString text1;
  Orvane::PdmSoa::ModelObject* object1 = nullptr;
  UString text2;
  UString text3;
  UString text4;
  UString text5;
  Orvane::PdmSoa::ModelObject* object2 = nullptr;
};

struct ItemCreateInput {
  UString text1;
  UString text2;
  UString text3;
  std::unordered_map<UString, UString> attributes;
};

struct RelationInput {
  UString text1;
  Orvane::PdmSoa::ModelObject* object = nullptr;
  UString text2;
  UString text3;
  std::vector<NameValueInput> name_values;
};

struct ObjectRefInput {
  Orvane::PdmSoa::ModelObject* object = nullptr;
  UString text1;
  UString text2;
  UString text3;
  std::vector<NameValueInput> name_values;
};

struct PartItemInput {
  Orvane::PdmSoa::ModelObject* object = nullptr;
  UString text1;
  UString text2;
  UString text3;
  UString text4;
  std::vector<NameValueInput> name_values;
  std::vector<ObjectRefInput> object_refs;
  Orvane::PdmSoa::ModelObject* optional_object = nullptr;  // none when absent
};

struct PartRevisionInput {
  Orvane::PdmSoa::ModelObject* object = nullptr;
  UString text1;
  std::vector<NameValueInput> name_values;
  std::vector<ObjectRefInput> object_refs;
};

struct PartDatasetInput {
  UString text1;
  Orvane::PdmSoa::ModelObject* object = nullptr;
  UString text2;
  UString text3;
  UString text4;
  UString text5;
  UString text6;
  UString text7;
  bool flag = false;
  UString text8;
  std::vector<NameValueInput> name_values1;
  std::vector<NameValueInput> name_values2;
  std::vector<ObjectRefInput> object_refs;
  std::vector<FileInfoInput> file_infos;
  std::vector<RelationInput> relations;
};

struct PartCreateInput {
  UString text;
  PartItemInput item;
  PartRevisionInput revision;
  std::vector<PartDatasetInput*> datasets;
};

struct WriteTicketInput {
  Orvane::PdmSoa::ModelObject* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoInput> file_infos;
};

struct CommitInput {
  Orvane::PdmSoa::ModelObject* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoInputExt> file_infos;
};

// Results; those handed out by pointer are the host's to delete. Host objects
// are none where the reply names none or the host holds another class.

struct ObjectResult {
  UString text;
  Orvane::PdmSoa::ModelObject* object = nullptr;
};

struct FileInfoResult {
  UString text1;
  UString text2;
  UString text3;
  bool flag1 = false;
  bool flag2 = false;
};

struct FileInfoResultExt {
  UString text1;
  UString text2;
  UString text3;
  bool flag1 = false;
  bool flag2 = false;
  UString text4;
};

struct CommitInfoResult {
  Orvane::PdmSoa::Dataset* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoResultExt> file_infos;
};

struct DatasetResult {
  UString text;
  Orvane::PdmSoa::Dataset* dataset = nullptr;
  std::vector<CommitInfoResult> commit_infos;
  std::vector<ObjectResult> objects1;
  std::vector<ObjectResult> objects2;
};

struct PartResult {
  UString text;
  Orvane::PdmSoa::Item* item = nullptr;
  Orvane::PdmSoa::ItemRevision* revision = nullptr;
  std::vector<DatasetResult> datasets;
  std::vector<ObjectResult> objects1;
  std::vector<ObjectResult> objects2;
};

// Per dataset of a write-ticket request: its file infos with their tickets.
struct WriteTicketResult {
  Orvane::PdmSoa::Dataset* dataset = nullptr;
  bool flag = false;
  std::vector<FileInfoResultExt> file_infos;
};

// File object UID -> read ticket.
using DatasetFileTickets = std::unordered_map<UString, UString>;
