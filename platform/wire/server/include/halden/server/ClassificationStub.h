// The classification family: classes, their descriptions and attributes,
// and the classification objects that classify workspace objects.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ClassTriple {
  std::string text1, text2, text3;
};

// One class as the class operation and the class search answer it.
struct ClassRecord {
  std::string text1, text2, text3, text4, text5;
  bool flag1 = false, flag2 = false, flag3 = false;
  std::string text6, text7;
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<ClassTriple> triples;
};

struct ClassDescriptionRecord {
  std::string text1, class_type, text3, text4;
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<ClassTriple> triples;
};

struct ClassQueryRecord {
  int code1 = 0;
  std::string text;
  int code2 = 0;
};

struct AttributeFormatRecord {
  int int1 = 0, int2 = 0, int3 = 0, int4 = 0;
};

struct AttributeRecord {
  int id = 0;
  std::string text1, text2, text3;
  AttributeFormatRecord format1, format2;
  std::string text4, text5, text6, text7, text8;
  int int1 = 0, int2 = 0;
  std::string text9, text10, text11;
};

struct ValueTableRecord {
  std::string text;
  int value = 0;
  std::map<std::string, std::string> entries;
};

struct ClassificationValueRecord {
  int attribute_id = 0;
  std::vector<std::pair<std::string, std::string>> pairs;
};

// A classification object with its data; "" names no object.
struct ClassificationObjectData {
  std::string object_uid;
  std::string text1, text2;
  int code = 0;
  std::string workspace_object_uid;
  std::vector<ClassificationValueRecord> values;
};

struct ObjectSearchRecord {
  std::vector<std::string> texts;
  std::vector<std::pair<int, std::string>> attributes;
  int value = 0;
};

struct ClassesReply {
  std::map<std::string, ClassRecord> classes;
  WireServiceData data;
};
struct ClassDescriptionsReply {
  std::map<std::string, std::vector<ClassDescriptionRecord>> descriptions;
  WireServiceData data;
};
struct ClassificationTableReply {
  std::map<std::string, std::vector<std::string>> table;
  WireServiceData data;
};
// Object UIDs by text; "" is a null object.
struct ObjectListsReply {
  std::map<std::string, std::vector<std::string>> objects;
  WireServiceData data;
};
struct AttributesReply {
  std::map<std::string, std::vector<AttributeRecord>> attributes;
  WireServiceData data;
};
struct ClassSearchReply {
  std::map<int, std::vector<ClassRecord>> classes;  // by the query's position
  WireServiceData data;
};
struct ObjectsReply {
  std::vector<std::string> objects;
  WireServiceData data;
};
struct ObjectDataReply {
  std::map<std::string, ClassificationObjectData> records;  // by the asked object's UID
  WireServiceData data;
};
struct ValueTablesReply {
  std::map<std::string, ValueTableRecord> tables;
  WireServiceData data;
};

// What the sample world answers: a class tree "CL-ROOT" > "CL-FASTENER" >
// "CL-BOLT", "CL-NUT"; classification objects ("ICO" objects) classifying
// items under those classes. Ids and UIDs it does not know are left out of
// the maps; unknown objects of the object lists are answered as "".
class ClassificationStub {
 public:
  virtual ~ClassificationStub() = default;
  // Stores each record over the object it names; an unknown object is a partial error.
  virtual WireServiceData writeClassificationObjects(const std::vector<ClassificationObjectData>& records) = 0;
  virtual WireServiceData writeClassificationObjects2(const std::vector<ClassificationObjectData>& records) = 0;
  // Remembers the objects as the last ones sent.
  virtual WireServiceData sendClassificationObjects(const std::vector<std::string>& uids) = 0;
  virtual ClassesReply getClasses(const std::vector<std::string>& class_ids) = 0;
  virtual ClassDescriptionsReply getClassDescriptions(const std::vector<std::string>& class_ids) = 0;
  // Keyed by class id: the ids of its child classes.
  virtual ClassificationTableReply getClassificationTable(const std::vector<std::string>& keys) = 0;
  // Keyed by class id: the workspace objects classified in it.
  virtual ObjectListsReply getObjectsOfIds(const std::vector<std::string>& class_ids) = 0;
  virtual AttributesReply getAttributes(const std::vector<std::string>& class_ids) = 0;
  // Classes whose text3 (the name) holds the query text.
  virtual ClassSearchReply searchClasses(const std::vector<ClassQueryRecord>& queries) = 0;
  // Keyed by class id (the record's texts): its objects whose values hold every {attribute; text}.
  virtual ObjectListsReply searchClassificationObjects(const std::vector<ObjectSearchRecord>& records) = 0;
  virtual ObjectsReply getPomObjects(const std::vector<std::string>& uids) = 0;
  // Keyed by workspace object UID: the classification objects classifying it.
  virtual ObjectListsReply getClassificationsOfObjects(const std::vector<std::string>& workspace_uids) = 0;
  // Keyed by class id: its classification objects.
  virtual ObjectListsReply getClassificationObjectsByKey(const std::vector<std::string>& keys) = 0;
  virtual ObjectDataReply getClassificationObjectData(const std::vector<std::string>& uids) = 0;
  virtual ValueTablesReply getValueTables(const std::vector<std::string>& ids) = 0;
};

}  // namespace Halden::Soa::Server
