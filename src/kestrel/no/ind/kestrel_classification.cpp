#include "kestrel_classification.h"

#include <memory>
#include <utility>

#include "halden/services/classification/ClassificationService.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "kestrel_cadservices.h"
#include "kestrel_call.h"
#include "kestrel_classify_core.h"
#include "kestrel_request.h"
#include "objmodel/SoaManager.h"

using Halden::Services::Classification::ClassificationService;
using Orvane::PdmSoa::ClassificationAttribute;
using Orvane::PdmSoa::ClassificationClass;
using Orvane::PdmSoa::ClassificationObject;
using Orvane::PdmSoa::PomObject;
using ServerObject = Halden::Soa::Client::ModelObject;
namespace classify = kestrel::classify;
namespace svc = Halden::Services::Classification;

namespace {

// Policy 2 and one call without catch clauses: the framework's exceptions
// reach the host unchanged.
template <class Call>
decltype(auto) classification_request(Call&& call) {
  return kestrel::soa_request_unconverted<ClassificationService>(KESTREL_HERE, std::forward<Call>(call));
}

ClassificationObject* as_classification_object(ServerObject* object) {
  return dynamic_cast<ClassificationObject*>(Orvane::PdmSoa::SoaManager::GetObjectManager()->GetObjectByUid(
      UString(object->getUid()), ClassificationObject::AskClassName()));
}

std::vector<ClassificationObject*> classification_objects_of(const std::vector<ServerObject*>& objects) {
  std::vector<ClassificationObject*> list;
  list.reserve(objects.size());
  for (ServerObject* object : objects)
    if (object) list.push_back(as_classification_object(object));
  return list;
}

std::vector<PomObject*> pom_objects_of(const std::vector<ServerObject*>& objects) {
  std::vector<PomObject*> list;
  list.reserve(objects.size());
  for (ServerObject* object : objects)
    if (object) list.push_back(PomObject::GetInstance(object->getUid(), object, 0));
  return list;
}

void fill_host_object(ClassificationObject& host, const svc::ClassificationObjectRecord& record) {
  classify::fill_object_data(host, record);
  host.workspace_object = record.workspaceObject ? KESTREL_ask_workspace_object(record.workspaceObject) : nullptr;
}

std::vector<svc::ClassificationObjectRecord> write_records(const std::vector<ClassificationObject*>& objects,
                                                           const char* entry) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, entry);
  auto* models = kestrel::get_model_manager();
  std::vector<svc::ClassificationObjectRecord> records;
  records.reserve(objects.size());
  for (const ClassificationObject* object : objects) {
    ServerObject* server_object = models->loadObjects(UStringToString(object->GetUid()));
    ServerObject* workspace = nullptr;
    if (object->workspace_object)
      workspace = dynamic_cast<Halden::Soa::Client::Model::WorkspaceObject*>(
          models->findObject(UStringToString(object->workspace_object->GetUid())));
    records.push_back(classify::record_of(*object, server_object, workspace));
  }
  return records;
}

}  // namespace

namespace kestrel {

void fill_classification_objects(const std::vector<ServerObject*>& objects,
                                 std::map<std::string, ClassificationObject*>& result) {
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationObjectData(objects); });
  for (ServerObject* object : objects) {
    if (!object) continue;
    auto it = reply.records.find(object);
    if (it == reply.records.end() || !it->second.classificationObject) continue;
    const std::string& uid = it->second.classificationObject->getUid();
    ClassificationObject* host = ClassificationObject::ConstructObjectFromUid(uid);
    if (!host) host = ClassificationObject::ConstructObjectFromUid(uid);  // the host may refuse once
    if (!host) continue;
    fill_host_object(*host, it->second);
    result.emplace(uid, host);
  }
}

}  // namespace kestrel

void KESTREL_write_classification_objects(const std::vector<ClassificationObject*>& objects) {
  const auto records = write_records(objects, "KESTREL_write_classification_objects");
  classification_request([&](ClassificationService& service) { service.writeClassificationObjects(records); });
}

void KESTREL_write_classification_objects_2(const std::vector<ClassificationObject*>& objects) {
  const auto records = write_records(objects, "KESTREL_write_classification_objects_2");
  classification_request([&](ClassificationService& service) { service.writeClassificationObjects2(records); });
}

void KESTREL_send_classification_object_uids(const std::vector<std::string>& uids) {
  const auto objects = classify::load_each(*kestrel::get_model_manager(), uids);
  classification_request([&](ClassificationService& service) { service.sendClassificationObjects(objects); });
}

std::map<std::string, ClassificationClass*>* KESTREL_ask_classification_classes(
    const std::vector<std::string>& class_ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getClasses(class_ids); });
  auto result = std::make_unique<std::map<std::string, ClassificationClass*>>();
  for (const auto& id : class_ids) {
    auto [slot, fresh] = result->try_emplace(id, nullptr);
    if (!fresh) continue;  // an id asked twice keeps its first class
    slot->second = classify::make_class<ClassificationClass>(id, "");
    auto it = reply.classes.find(id);
    if (it != reply.classes.end()) classify::fill_class(*slot->second, it->second, false);
  }
  return result.release();
}

std::map<std::string, std::vector<ClassificationClass*>>* KESTREL_ask_class_descriptions(
    const std::vector<std::string>& class_ids) {
  auto reply =
      classification_request([&](ClassificationService& service) { return service.getClassDescriptions(class_ids); });
  auto result = std::make_unique<std::map<std::string, std::vector<ClassificationClass*>>>();
  for (const auto& id : class_ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;  // an id asked twice keeps its first list
    auto it = reply.descriptions.find(id);
    if (it == reply.descriptions.end()) continue;
    auto& list = slot->second;
    list.reserve(it->second.size());
    for (const auto& description : it->second) {
      list.push_back(classify::make_class<ClassificationClass>("classid", ""));
      classify::fill_class(*list.back(), id, description);
    }
  }
  return result.release();
}

std::map<std::string, std::vector<std::string>>* KESTREL_ask_classification_table(
    const std::vector<std::string>& keys) {
  auto reply =
      classification_request([&](ClassificationService& service) { return service.getClassificationTable(keys); });
  return new std::map<std::string, std::vector<std::string>>(std::move(reply.table));
}

std::map<std::string, std::vector<PomObject*>>* KESTREL_ask_objects_of_classification_ids(
    const std::vector<std::string>& ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getObjectsOfIds(ids); });
  auto result = std::make_unique<std::map<std::string, std::vector<PomObject*>>>();
  for (const auto& id : ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;
    auto it = reply.objects.find(id);
    if (it != reply.objects.end()) slot->second = pom_objects_of(it->second);
  }
  return result.release();
}

std::map<std::string, std::vector<ClassificationAttribute>>* KESTREL_ask_class_attributes(
    const std::vector<std::string>& class_ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getAttributes(class_ids); });
  auto result = std::make_unique<std::map<std::string, std::vector<ClassificationAttribute>>>();
  for (const auto& id : class_ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;
    auto it = reply.attributes.find(id);
    if (it == reply.attributes.end()) continue;
    slot->second.reserve(it->second.size());
    for (const auto& record : it->second)
      slot->second.push_back(classify::attribute_of<ClassificationAttribute>(record));
  }
  return result.release();
}

std::vector<ClassificationClass*>* KESTREL_find_classes(const std::vector<ClassQuery>& queries) {
  const auto request = classify::class_search_request(queries);
  auto reply = classification_request([&](ClassificationService& service) { return service.searchClasses(request); });
  auto result = std::make_unique<std::vector<ClassificationClass*>>();
  for (int i = 0; i < static_cast<int>(queries.size()); ++i) {
    auto it = reply.classes.find(i);
    if (it == reply.classes.end()) continue;
    for (const auto& record : it->second) {
      result->push_back(classify::make_class<ClassificationClass>("classid", ""));
      classify::fill_class(*result->back(), record, true);
    }
  }
  return result.release();
}

std::vector<ClassificationObject*>* KESTREL_find_classification_objects(
    const std::vector<ClassificationObjectQuery>& queries) {
  const auto request = classify::object_search_request(queries);
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.searchClassificationObjects(request); });
  auto result = std::make_unique<std::vector<ClassificationObject*>>();
  for (const auto& [key, objects] : reply.objects)
    for (ServerObject* object : objects)
      if (object) result->push_back(as_classification_object(object));
  return result.release();
}

std::vector<PomObject*>* KESTREL_ask_classification_pom_objects(const std::vector<std::string>& uids) {
  SetActivePropertyPolicy(2);
  const auto objects = classify::load_each(*kestrel::get_model_manager(), uids);
  auto reply = classification_request([&](ClassificationService& service) { return service.getPomObjects(objects); });
  return new std::vector<PomObject*>(pom_objects_of(reply.objects));
}

std::map<std::string, std::vector<ClassificationObject*>>* KESTREL_ask_classifications_of_objects(
    const std::vector<std::string>& workspace_uids) {
  SetActivePropertyPolicy(2);
  auto* models = kestrel::get_model_manager();
  std::vector<ServerObject*> workspace_objects;
  workspace_objects.reserve(workspace_uids.size());
  for (const auto& uid : workspace_uids) {
    ServerObject* object = models->loadObjects(uid);
    workspace_objects.push_back(dynamic_cast<Halden::Soa::Client::Model::WorkspaceObject*>(object) ? object : nullptr);
  }
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationsOfObjects(workspace_objects); });

  auto result = std::make_unique<std::map<std::string, std::vector<ClassificationObject*>>>();
  for (std::size_t i = 0; i < workspace_uids.size(); ++i) {
    if (!workspace_objects[i]) continue;
    auto it = reply.classifications.find(workspace_objects[i]);
    if (it == reply.classifications.end()) continue;
    std::vector<std::string> uids;
    uids.reserve(it->second.size());
    for (ServerObject* classification : it->second)
      if (classification) uids.push_back(classification->getUid());
    const std::unique_ptr<std::map<std::string, ClassificationObject*>> loaded(
        KESTREL_load_classification_objects(uids));
    std::vector<ClassificationObject*> list;
    list.reserve(loaded->size());
    for (const auto& [uid, object] : *loaded) list.push_back(object);
    result->emplace(workspace_uids[i], std::move(list));
  }
  return result.release();
}

std::map<std::string, std::vector<ClassificationObject*>>* KESTREL_ask_classification_objects_by_key(
    const std::vector<std::string>& keys) {
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationObjectsByKey(keys); });
  auto result = std::make_unique<std::map<std::string, std::vector<ClassificationObject*>>>();
  for (const auto& [key, objects] : reply.objects) result->emplace(key, classification_objects_of(objects));
  return result.release();
}

std::map<std::string, ClassificationObject*>* KESTREL_load_classification_objects(
    const std::vector<std::string>& uids) {
  SetActivePropertyPolicy(2);
  const auto objects = classify::load_each(*kestrel::get_model_manager(), uids);
  auto result = std::make_unique<std::map<std::string, ClassificationObject*>>();
  kestrel::fill_classification_objects(objects, *result);
  return result.release();
}

void KESTREL_refresh_classification_objects(const std::map<std::string, ClassificationObject*>& objects) {
  SetActivePropertyPolicy(2);
  auto* models = kestrel::get_model_manager();
  std::vector<ServerObject*> server_objects;
  server_objects.reserve(objects.size());
  for (const auto& [key, object] : objects)
    if (object) server_objects.push_back(models->loadObjects(UStringToString(object->GetUid())));
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationObjectData(server_objects); });
  for (ServerObject* object : server_objects) {
    if (!object) continue;
    auto it = reply.records.find(object);
    if (it == reply.records.end() || !it->second.classificationObject) continue;
    auto given = objects.find(it->second.classificationObject->getUid());
    if (given != objects.end() && given->second) fill_host_object(*given->second, it->second);
  }
}

std::map<std::string, ClassificationValueTable>* KESTREL_ask_classification_value_tables(
    const std::vector<std::string>& ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getValueTables(ids); });
  auto result = std::make_unique<std::map<std::string, ClassificationValueTable>>();
  for (const auto& id : ids) {
    auto it = reply.tables.find(id);
    if (it != reply.tables.end())
      result->emplace(id, ClassificationValueTable{it->second.text, it->second.value, it->second.entries});
  }
  return result.release();
}
