// The sample world's classification: a small class tree with descriptions,
// attributes and value tables, and classification objects ("ICO" objects)
// classifying items.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/ClassificationStub.h"

namespace Halden::Soa::Server {

class WorldStore;

class ClassificationWorld : public ClassificationStub {
 public:
  explicit ClassificationWorld(WorldStore& store) : store_(store) {}
  // The sample classes, items and classification objects.
  void populate();

  // A class under a parent ("" for a root): its record's text2 names the parent.
  void add_class(const std::string& id, ClassRecord record);
  void add_description(const std::string& class_id, ClassDescriptionRecord description);
  void add_attribute(const std::string& class_id, AttributeRecord attribute);
  void set_value_table(const std::string& id, ValueTableRecord table);
  // Stored as an "ICO" object as well.
  void add_classification_object(ClassificationObjectData data);
  const ClassificationObjectData* classification_object(const std::string& uid) const;
  const std::vector<std::string>& last_sent() const { return last_sent_; }
  // Which write operation stored the object last: 1, 2, or 0 for none.
  int written_by(const std::string& uid) const;

  WireServiceData writeClassificationObjects(const std::vector<ClassificationObjectData>& records) override;
  WireServiceData writeClassificationObjects2(const std::vector<ClassificationObjectData>& records) override;
  WireServiceData sendClassificationObjects(const std::vector<std::string>& uids) override;
  ClassesReply getClasses(const std::vector<std::string>& class_ids) override;
  ClassDescriptionsReply getClassDescriptions(const std::vector<std::string>& class_ids) override;
  ClassificationTableReply getClassificationTable(const std::vector<std::string>& keys) override;
  ObjectListsReply getObjectsOfIds(const std::vector<std::string>& class_ids) override;
  AttributesReply getAttributes(const std::vector<std::string>& class_ids) override;
  ClassSearchReply searchClasses(const std::vector<ClassQueryRecord>& queries) override;
  ObjectListsReply searchClassificationObjects(const std::vector<ObjectSearchRecord>& records) override;
  ObjectsReply getPomObjects(const std::vector<std::string>& uids) override;
  ObjectListsReply getClassificationsOfObjects(const std::vector<std::string>& workspace_uids) override;
  ObjectListsReply getClassificationObjectsByKey(const std::vector<std::string>& keys) override;
  ObjectDataReply getClassificationObjectData(const std::vector<std::string>& uids) override;
  ValueTablesReply getValueTables(const std::vector<std::string>& ids) override;

 private:
  struct Class {
    ClassRecord record;
    std::vector<ClassDescriptionRecord> descriptions;
    std::vector<AttributeRecord> attributes;
    std::vector<std::string> children;
  };
  WireServiceData write(const std::vector<ClassificationObjectData>& records, int operation);
  std::vector<std::string> objects_of_class(const std::string& class_id) const;
  ObjectListsReply lists_reply(std::map<std::string, std::vector<std::string>> lists) const;

  WorldStore& store_;
  std::map<std::string, Class> classes_;
  std::map<std::string, ValueTableRecord> value_tables_;
  std::map<std::string, ClassificationObjectData> objects_;  // by UID
  std::map<std::string, int> written_by_;
  std::vector<std::string> last_sent_;
};

}  // namespace Halden::Soa::Server
