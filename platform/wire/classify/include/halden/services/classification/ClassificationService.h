// The classification service: classes, their descriptions and attributes,
// and the classification objects that classify workspace objects.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/ServiceData.h"

namespace Halden::Services::Classification {

using Soa::Client::ModelObject;
using Soa::Client::ServiceData;

struct ClassTriple {
  std::string text1, text2, text3;
};

struct ClassRecord {
  std::string text1, text2, text3, text4, text5;
  bool flag1 = false, flag2 = false, flag3 = false;
  std::string text6, text7;
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<ClassTriple> triples;
};

struct ClassDescription {
  std::string text1, classType, text3, text4;
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<ClassTriple> triples;
};

struct ClassQuery {
  int code1 = 0;
  std::string text;
  int code2 = 0;
};

struct AttributeFormat {
  int int1 = 0, int2 = 0, int3 = 0, int4 = 0;
};

struct AttributeRecord {
  int id = 0;
  std::string text1, text2, text3;
  AttributeFormat format1, format2;
  std::string text4, text5, text6, text7, text8;
  int int1 = 0, int2 = 0;
  std::string text9, text10, text11;
};

struct ValueTable {
  std::string text;
  int value = 0;
  std::map<std::string, std::string> entries;
};

struct ClassificationValue {
  int attributeId = 0;
  std::vector<std::pair<std::string, std::string>> pairs;
};

struct ClassificationObjectRecord {
  ModelObject* classificationObject = nullptr;
  std::string text1, text2;
  int code = 0;
  ModelObject* workspaceObject = nullptr;
  std::vector<ClassificationValue> values;
};

struct ObjectSearchInput {
  std::vector<std::string> texts;
  std::vector<std::pair<int, std::string>> attributes;
  int value = 0;
};

struct GetClassesResponse {
  std::map<std::string, ClassRecord> classes;
  ServiceData serviceData;
};
struct GetClassDescriptionsResponse {
  std::map<std::string, std::vector<ClassDescription>> descriptions;
  ServiceData serviceData;
};
struct GetClassificationTableResponse {
  std::map<std::string, std::vector<std::string>> table;
  ServiceData serviceData;
};
struct ObjectListsResponse {
  std::map<std::string, std::vector<ModelObject*>> objects;
  ServiceData serviceData;
};
struct GetAttributesResponse {
  std::map<std::string, std::vector<AttributeRecord>> attributes;
  ServiceData serviceData;
};
struct SearchClassesResponse {
  std::map<int, std::vector<ClassRecord>> classes;  // by the query's position
  ServiceData serviceData;
};
struct GetPomObjectsResponse {
  std::vector<ModelObject*> objects;
  ServiceData serviceData;
};
struct GetClassificationsOfObjectsResponse {
  std::map<ModelObject*, std::vector<ModelObject*>> classifications;
  ServiceData serviceData;
};
struct GetClassificationObjectDataResponse {
  std::map<ModelObject*, ClassificationObjectRecord> records;  // by the asked object
  ServiceData serviceData;
};
struct GetValueTablesResponse {
  std::map<std::string, ValueTable> tables;
  ServiceData serviceData;
};

class ClassificationService {
 public:
  static ClassificationService* getService(Soa::Client::Connection* connection);
  explicit ClassificationService(Soa::Client::Connection* connection) : connection_(connection) {}

  ServiceData writeClassificationObjects(const std::vector<ClassificationObjectRecord>& records);
  ServiceData writeClassificationObjects2(const std::vector<ClassificationObjectRecord>& records);
  ServiceData sendClassificationObjects(const std::vector<ModelObject*>& objects);
  GetClassesResponse getClasses(const std::vector<std::string>& classIds);
  GetClassDescriptionsResponse getClassDescriptions(const std::vector<std::string>& classIds);
  GetClassificationTableResponse getClassificationTable(const std::vector<std::string>& keys);
  ObjectListsResponse getObjectsOfIds(const std::vector<std::string>& classIds);
  GetAttributesResponse getAttributes(const std::vector<std::string>& classIds);
  SearchClassesResponse searchClasses(const std::vector<ClassQuery>& queries);
  ObjectListsResponse searchClassificationObjects(const std::vector<ObjectSearchInput>& inputs);
  GetPomObjectsResponse getPomObjects(const std::vector<ModelObject*>& objects);
  GetClassificationsOfObjectsResponse getClassificationsOfObjects(const std::vector<ModelObject*>& workspaceObjects);
  ObjectListsResponse getClassificationObjectsByKey(const std::vector<std::string>& keys);
  GetClassificationObjectDataResponse getClassificationObjectData(const std::vector<ModelObject*>& objects);
  GetValueTablesResponse getValueTables(const std::vector<std::string>& ids);

 private:
  Soa::Client::Connection* connection_;
};

}  // namespace Halden::Services::Classification
