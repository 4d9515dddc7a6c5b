#include "halden/server/world/ClassificationWorld.h"

#include <set>

#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

namespace {

const std::vector<std::string> kClassificationObjectTypes = {"ICO", "POM_object"};
const std::vector<std::string> kItemTypes = {"Item", "WorkspaceObject", "POM_object"};

WireErrorStack unknown_object(const std::string& uid) {
  return WireErrorStack{uid, -1, uid, {{515024, 3, "The classification object " + uid + " could not be found."}}};
}

ClassRecord class_record(const std::string& id, const std::string& parent, const std::string& name, bool flag1,
                         bool flag2, bool flag3, int int1) {
  ClassRecord r;
  r.text1 = id;
  r.text2 = parent;
  r.text3 = name;
  r.text4 = name + " (description)";
  r.text5 = "group-" + id;
  r.flag1 = flag1;
  r.flag2 = flag2;
  r.flag3 = flag3;
  r.text6 = "icon-" + id;
  r.text7 = "user-" + id;
  r.int1 = int1;
  r.int2 = int1 + 1;
  r.int3 = int1 + 2;
  r.triples = {{"unit", "mm", id}};
  return r;
}

AttributeRecord attribute(int id, const std::string& name, int format) {
  AttributeRecord a;
  a.id = id;
  a.text1 = name;
  a.text2 = name + " short";
  a.text3 = "mm";
  a.format1 = {format, 1, 2, 3};
  a.format2 = {format, 4, 5, 6};
  a.text4 = "min";
  a.text5 = "max";
  a.text6 = "default";
  a.text7 = "description of " + name;
  a.text8 = "annotation";
  a.int1 = 7;
  a.int2 = 8;
  a.text9 = "metric";
  a.text10 = "SI";
  a.text11 = "-";
  return a;
}

bool holds_value(const ClassificationObjectData& object, int attribute_id, const std::string& text) {
  for (const auto& v : object.values)
    if (v.attribute_id == attribute_id)
      for (const auto& pair : v.pairs)
        if (pair.first == text) return true;
  return false;
}

}  // namespace

void ClassificationWorld::populate() {
  add_class("CL-ROOT", class_record("CL-ROOT", "", "Classification Root", true, false, true, 0));
  add_class("CL-FASTENER", class_record("CL-FASTENER", "CL-ROOT", "Fasteners", true, true, false, 10));
  add_class("CL-BOLT", class_record("CL-BOLT", "CL-FASTENER", "Bolts", true, false, false, 20));
  add_class("CL-NUT", class_record("CL-NUT", "CL-FASTENER", "Nuts", false, true, true, 30));

  add_description("CL-BOLT", {"bolt-hex",
                              "storage",
                              "Hex bolts",
                              "Bolts with a hexagon head",
                              1,
                              2,
                              3,
                              {{"unit", "mm", "metric"}, {"norm", "ISO 4017", ""}}});
  add_description("CL-BOLT", {"bolt-socket", "storage", "Socket bolts", "Bolts with a socket head", 4, 5, 6, {}});
  add_description("CL-BOLT", {"bolt-carriage",
                              "abstract",
                              "Carriage bolts",
                              "Bolts with a round head",
                              7,
                              8,
                              9,
                              {{"unit", "in", "imperial"}}});
  add_description("CL-NUT", {"nut-hex", "storage", "Hex nuts", "Nuts with six sides", 1, 1, 1, {}});

  add_attribute("CL-BOLT", attribute(1001, "Diameter", 2));
  add_attribute("CL-BOLT", attribute(1002, "Length", 3));
  add_attribute("CL-NUT", attribute(1001, "Diameter", 2));

  set_value_table("VT-THREAD", {"Thread", 2, {{"M10", "10 mm"}, {"M8", "8 mm"}}});
  set_value_table("VT-FINISH", {"Finish", 1, {{"ZN", "zinc"}}});

  store_.add_object("item-bolt-m8", kItemTypes,
                    {props::str("object_name", "Bolt M8"), props::str("item_id", "BOLT-M8")});
  store_.add_object("item-bolt-m10", kItemTypes,
                    {props::str("object_name", "Bolt M10"), props::str("item_id", "BOLT-M10")});
  store_.add_object("item-nut-m8", kItemTypes, {props::str("object_name", "Nut M8"), props::str("item_id", "NUT-M8")});

  add_classification_object({"ico-bolt-m8",
                             "CL-BOLT",
                             "Bolt M8",
                             1,
                             "item-bolt-m8",
                             {{1001, {{"8", "mm"}}}, {1002, {{"40", "mm"}, {"45", "mm"}}}}});
  add_classification_object(
      {"ico-fastener-m8", "CL-FASTENER", "Fastener M8", 2, "item-bolt-m8", {{1001, {{"8", "mm"}}}}});
  add_classification_object({"ico-bolt-m10", "CL-BOLT", "Bolt M10", 2, "item-bolt-m10", {{1001, {{"10", "mm"}}}}});
  add_classification_object({"ico-nut-m8", "CL-NUT", "Nut M8", 5, "item-nut-m8", {{1001, {{"8", "mm"}}}}});
  add_classification_object({"ico-loose", "CL-NUT", "Unattached", 0, "", {}});
}

void ClassificationWorld::add_class(const std::string& id, ClassRecord record) {
  const std::string parent = record.text2;
  classes_[id].record = std::move(record);
  if (!parent.empty()) classes_[parent].children.push_back(id);
}

void ClassificationWorld::add_description(const std::string& class_id, ClassDescriptionRecord description) {
  classes_[class_id].descriptions.push_back(std::move(description));
}

void ClassificationWorld::add_attribute(const std::string& class_id, AttributeRecord attribute) {
  classes_[class_id].attributes.push_back(std::move(attribute));
}

void ClassificationWorld::set_value_table(const std::string& id, ValueTableRecord table) {
  value_tables_[id] = std::move(table);
}

void ClassificationWorld::add_classification_object(ClassificationObjectData data) {
  store_.add_object(data.object_uid, kClassificationObjectTypes, {props::str("object_string", data.text2)});
  const std::string uid = data.object_uid;
  objects_[uid] = std::move(data);
}

const ClassificationObjectData* ClassificationWorld::classification_object(const std::string& uid) const {
  auto it = objects_.find(uid);
  return it == objects_.end() ? nullptr : &it->second;
}

int ClassificationWorld::written_by(const std::string& uid) const {
  auto it = written_by_.find(uid);
  return it == written_by_.end() ? 0 : it->second;
}

std::vector<std::string> ClassificationWorld::objects_of_class(const std::string& class_id) const {
  std::vector<std::string> uids;
  for (const auto& [uid, object] : objects_)
    if (object.text1 == class_id) uids.push_back(uid);
  return uids;
}

ObjectListsReply ClassificationWorld::lists_reply(std::map<std::string, std::vector<std::string>> lists) const {
  std::vector<std::string> carried;
  for (const auto& [key, uids] : lists) carried.insert(carried.end(), uids.begin(), uids.end());
  ObjectListsReply reply;
  reply.data = store_.reply_with(carried);
  reply.objects = std::move(lists);
  return reply;
}

WireServiceData ClassificationWorld::write(const std::vector<ClassificationObjectData>& records, int operation) {
  WireServiceData data;
  for (const auto& record : records) {
    auto it = objects_.find(record.object_uid);
    if (it == objects_.end()) {
      data.errors.push_back(unknown_object(record.object_uid));
      continue;
    }
    it->second = record;
    written_by_[record.object_uid] = operation;
    data.updated.push_back(record.object_uid);
  }
  const auto carried = store_.reply_with(data.updated);
  data.objects = carried.objects;
  return data;
}

WireServiceData ClassificationWorld::writeClassificationObjects(const std::vector<ClassificationObjectData>& records) {
  return write(records, 1);
}

WireServiceData ClassificationWorld::writeClassificationObjects2(const std::vector<ClassificationObjectData>& records) {
  return write(records, 2);
}

WireServiceData ClassificationWorld::sendClassificationObjects(const std::vector<std::string>& uids) {
  last_sent_ = uids;
  return {};
}

ClassesReply ClassificationWorld::getClasses(const std::vector<std::string>& class_ids) {
  ClassesReply reply;
  for (const auto& id : class_ids)
    if (auto it = classes_.find(id); it != classes_.end()) reply.classes[id] = it->second.record;
  return reply;
}

ClassDescriptionsReply ClassificationWorld::getClassDescriptions(const std::vector<std::string>& class_ids) {
  ClassDescriptionsReply reply;
  for (const auto& id : class_ids)
    if (auto it = classes_.find(id); it != classes_.end() && !it->second.descriptions.empty())
      reply.descriptions[id] = it->second.descriptions;
  return reply;
}

ClassificationTableReply ClassificationWorld::getClassificationTable(const std::vector<std::string>& keys) {
  ClassificationTableReply reply;
  for (const auto& key : keys)
    if (auto it = classes_.find(key); it != classes_.end()) reply.table[key] = it->second.children;
  return reply;
}

ObjectListsReply ClassificationWorld::getObjectsOfIds(const std::vector<std::string>& class_ids) {
  std::map<std::string, std::vector<std::string>> lists;
  for (const auto& id : class_ids) {
    if (!classes_.count(id)) continue;
    auto& list = lists[id];
    for (const auto& uid : objects_of_class(id)) {
      const auto& workspace = objects_.at(uid).workspace_object_uid;
      if (!workspace.empty()) list.push_back(workspace);
    }
  }
  return lists_reply(std::move(lists));
}

AttributesReply ClassificationWorld::getAttributes(const std::vector<std::string>& class_ids) {
  AttributesReply reply;
  for (const auto& id : class_ids)
    if (auto it = classes_.find(id); it != classes_.end() && !it->second.attributes.empty())
      reply.attributes[id] = it->second.attributes;
  return reply;
}

ClassSearchReply ClassificationWorld::searchClasses(const std::vector<ClassQueryRecord>& queries) {
  ClassSearchReply reply;
  for (std::size_t i = 0; i < queries.size(); ++i) {
    auto& list = reply.classes[static_cast<int>(i)];
    for (const auto& [id, c] : classes_)
      if (c.record.text3.find(queries[i].text) != std::string::npos) list.push_back(c.record);
  }
  return reply;
}

ObjectListsReply ClassificationWorld::searchClassificationObjects(const std::vector<ObjectSearchRecord>& records) {
  std::map<std::string, std::vector<std::string>> lists;
  for (const auto& record : records)
    for (const auto& class_id : record.texts) {
      if (!classes_.count(class_id)) continue;
      auto& list = lists[class_id];
      for (const auto& uid : objects_of_class(class_id)) {
        bool matches = true;
        for (const auto& [attribute_id, text] : record.attributes)
          matches = matches && holds_value(objects_.at(uid), attribute_id, text);
        if (matches) list.push_back(uid);
      }
    }
  return lists_reply(std::move(lists));
}

ObjectsReply ClassificationWorld::getPomObjects(const std::vector<std::string>& uids) {
  ObjectsReply reply;
  for (const auto& uid : uids) reply.objects.push_back(store_.find(uid) ? uid : std::string());
  reply.data = store_.reply_with(reply.objects);
  return reply;
}

ObjectListsReply ClassificationWorld::getClassificationsOfObjects(const std::vector<std::string>& workspace_uids) {
  std::map<std::string, std::vector<std::string>> lists;
  const std::set<std::string> asked(workspace_uids.begin(), workspace_uids.end());
  for (const auto& [uid, object] : objects_)
    if (!object.workspace_object_uid.empty() && asked.count(object.workspace_object_uid))
      lists[object.workspace_object_uid].push_back(uid);
  auto reply = lists_reply(lists);
  const auto workspace = store_.reply_with(std::vector<std::string>(asked.begin(), asked.end()));
  reply.data.objects.insert(reply.data.objects.end(), workspace.objects.begin(), workspace.objects.end());
  return reply;
}

ObjectListsReply ClassificationWorld::getClassificationObjectsByKey(const std::vector<std::string>& keys) {
  std::map<std::string, std::vector<std::string>> lists;
  for (const auto& key : keys)
    if (classes_.count(key)) lists[key] = objects_of_class(key);
  return lists_reply(std::move(lists));
}

ObjectDataReply ClassificationWorld::getClassificationObjectData(const std::vector<std::string>& uids) {
  ObjectDataReply reply;
  std::vector<std::string> carried;
  for (const auto& uid : uids) {
    auto it = objects_.find(uid);
    if (it == objects_.end()) continue;
    reply.records[uid] = it->second;
    carried.push_back(uid);
    if (!it->second.workspace_object_uid.empty()) carried.push_back(it->second.workspace_object_uid);
  }
  reply.data = store_.reply_with(carried);
  return reply;
}

ValueTablesReply ClassificationWorld::getValueTables(const std::vector<std::string>& ids) {
  ValueTablesReply reply;
  for (const auto& id : ids)
    if (auto it = value_tables_.find(id); it != value_tables_.end()) reply.tables[id] = it->second;
  return reply;
}

}  // namespace Halden::Soa::Server
