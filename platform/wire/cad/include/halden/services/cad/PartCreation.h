// Records of the CAD part creation: an item, its revision and its datasets in
// one request, and per part what was created with the file infos to upload.
#pragma once

#include <string>
#include <vector>

#include "halden/services/core/FilemanagementService.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Cad {

struct NameValueInput {
  std::string name;
  std::string value;
};

struct RelationInput {
  std::string text1;
  Soa::Client::ModelObject* object = nullptr;
  std::string text2;
  std::string text3;
  std::vector<NameValueInput> nameValues;
};

struct ObjectRefInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string text1;
  std::string text2;
  std::string text3;
  std::vector<NameValueInput> nameValues;
};

struct PartItemInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::vector<NameValueInput> nameValues;
  std::vector<ObjectRefInput> objectRefs;
  Soa::Client::ModelObject* optionalObject = nullptr;
};

struct PartRevisionInput {
  Soa::Client::ModelObject* object = nullptr;
  std::string text1;
  std::vector<NameValueInput> nameValues;
  std::vector<ObjectRefInput> objectRefs;
};

struct PartDatasetInput {
  std::string text1;
  Soa::Client::ModelObject* object = nullptr;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
  std::string text6;
  std::string text7;
  bool flag = false;
  std::string text8;
  std::vector<NameValueInput> nameValues1;
  std::vector<NameValueInput> nameValues2;
  std::vector<ObjectRefInput> objectRefs;
  std::vector<Core::FileInfoInput> fileInfos;
  std::vector<RelationInput> relations;
};

struct PartCreateInput {
  std::string text;
  PartItemInput item;
  PartRevisionInput revision;
  std::vector<PartDatasetInput> datasets;
};

struct ObjectOutput {
  std::string text;
  Soa::Client::ModelObject* object = nullptr;
};

struct DatasetOutput {
  std::string text;
  Soa::Client::ModelObject* dataset = nullptr;
  std::vector<Core::CommitInfo> commitInfos;
  std::vector<ObjectOutput> objects1;
  std::vector<ObjectOutput> objects2;
};

struct PartOutput {
  std::string text;
  Soa::Client::ModelObject* item = nullptr;
  Soa::Client::ModelObject* itemRevision = nullptr;
  std::vector<DatasetOutput> datasets;
  std::vector<ObjectOutput> objects1;
  std::vector<ObjectOutput> objects2;
};

struct CreatePartsResponse {
  std::vector<PartOutput> output;  // one per part created, in request order
  Soa::Client::ServiceData serviceData;
};

}  // namespace Halden::Services::Cad
