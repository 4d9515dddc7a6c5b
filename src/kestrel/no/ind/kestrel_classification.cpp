#include "kestrel_classification.h"

#include <memory>
#include <utility>

#include "halden/services/classification/ClassificationService.h"
#include "halden/soa/client/ModelObject.h"
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

PomObject* pom_object_of(ServerObject* object) { return PomObject::GetInstance(object->getUid(), object, 0); }

void set_workspace_object(ClassificationObject& host, ServerObject* workspace) {
  host.workspace_object = workspace ? KESTREL_ask_workspace_object(workspace) : nullptr;
}

void fill_host_object(ClassificationObject& host, const svc::ClassificationObjectRecord& record) {
  classify::fill_object_data(host, record);
  set_workspace_object(host, record.workspaceObject);
}

std::vector<svc::ClassificationObjectRecord> write_records(const std::vector<ClassificationObject*>& objects,
                                                           const char* entry) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, entry);
  return classify::write_records(
      *kestrel::get_model_manager(), objects, [](const auto& host) { return UStringToString(host.GetUid()); },
      [](const ClassificationObject& host) { return host.workspace_object; });
}

}  // namespace

namespace kestrel {

void fill_classification_objects(const std::vector<ServerObject*>& objects,
                                 std::map<std::string, ClassificationObject*>& result) {
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationObjectData(objects); });
  classify::fill_classification_objects(
      objects, reply, result,
      [](const std::string& uid) {
        ClassificationObject* host = ClassificationObject::ConstructObjectFromUid(uid);
        return host ? host : ClassificationObject::ConstructObjectFromUid(uid);  // the host may refuse once
      },
      set_workspace_object);
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
  return classify::classes_by_id<ClassificationClass>(class_ids, reply).release();
}

std::map<std::string, std::vector<ClassificationClass*>>* KESTREL_ask_class_descriptions(
    const std::vector<std::string>& class_ids) {
  auto reply =
      classification_request([&](ClassificationService& service) { return service.getClassDescriptions(class_ids); });
  return classify::descriptions_by_id<ClassificationClass>(class_ids, reply).release();
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
  return classify::objects_by_id(ids, reply, pom_object_of).release();
}

std::map<std::string, std::vector<ClassificationAttribute>>* KESTREL_ask_class_attributes(
    const std::vector<std::string>& class_ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getAttributes(class_ids); });
  return classify::attributes_by_id<ClassificationAttribute>(class_ids, reply).release();
}

std::vector<ClassificationClass*>* KESTREL_find_classes(const std::vector<ClassQuery>& queries) {
  const auto request = classify::class_search_request(queries);
  auto reply = classification_request([&](ClassificationService& service) { return service.searchClasses(request); });
  return classify::found_classes<ClassificationClass>(queries.size(), reply).release();
}

std::vector<ClassificationObject*>* KESTREL_find_classification_objects(
    const std::vector<ClassificationObjectQuery>& queries) {
  const auto request = classify::object_search_request(queries);
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.searchClassificationObjects(request); });
  return classify::objects_of_lists(reply, as_classification_object).release();
}

std::vector<PomObject*>* KESTREL_ask_classification_pom_objects(const std::vector<std::string>& uids) {
  SetActivePropertyPolicy(2);
  const auto objects = classify::load_each(*kestrel::get_model_manager(), uids);
  auto reply = classification_request([&](ClassificationService& service) { return service.getPomObjects(objects); });
  return new std::vector<PomObject*>(classify::hosts_of(reply.objects, pom_object_of));
}

std::map<std::string, std::vector<ClassificationObject*>>* KESTREL_ask_classifications_of_objects(
    const std::vector<std::string>& workspace_uids) {
  SetActivePropertyPolicy(2);
  const auto workspace_objects = classify::load_workspace_objects(*kestrel::get_model_manager(), workspace_uids);
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
  for (const auto& [key, objects] : reply.objects)
    result->emplace(key, classify::hosts_of(objects, as_classification_object));
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
  return classify::value_tables_of(ids, reply).release();
}
