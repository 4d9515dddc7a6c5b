// Classification entries of the legacy build.
#include "kestrel_legacy_classification.h"

#include <memory>
#include <utility>

#include "cadlink/virelmgr.h"
#include "halden/services/classification/ClassificationService.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel_call.h"
#include "kestrel_classify_core.h"
#include "kestrel_legacy.h"
#include "kestrel_scoped.h"

using Halden::Services::Classification::ClassificationService;
using Orvane::PdmSoa::VirelmgrClassificationAttribute;
using Orvane::PdmSoa::VirelmgrClassificationClass;
using Orvane::PdmSoa::VirelmgrClassificationObject;
using Orvane::PdmSoa::VirelmgrModelObject;
using Orvane::PdmSoa::VirelmgrPomObject;
using Orvane::PdmSoa::VirelmgrWorkspaceObject;
using ServerObject = Halden::Soa::Client::ModelObject;
namespace classify = kestrel::classify;
namespace svc = Halden::Services::Classification;

namespace {

// One call as it is: the session's policy stands and the framework's
// exceptions reach the host unchanged.
template <class Call>
decltype(auto) classification_request(Call&& call) {
  return kestrel::soa_request_on<ClassificationService>(kestrel::require_connection(KESTREL_LEGACY_HERE),
                                                        std::forward<Call>(call));
}

VirelmgrModelObject* model_object_of(ServerObject* object) {
  return VirelmgrModelObject::GetInstance(object->getUid(), object, 0);
}

VirelmgrPomObject* pom_object_of(ServerObject* object) {
  return VirelmgrPomObject::GetInstance(object->getUid(), object, 0);
}

std::vector<svc::ClassificationObjectRecord> write_records(const std::vector<VirelmgrClassificationObject*>& objects,
                                                           const char* entry) {
  for (const auto* object : objects)
    if (!object) KESTREL_LEGACY_RAISE(940208, "Null object in %s", entry);
  return classify::write_records(
      *kestrel::get_model_manager(KESTREL_LEGACY_HERE), objects, [](const auto& host) { return host.GetUid(); },
      [](const VirelmgrClassificationObject& host) { return host.GetWorkspaceObject(); });
}

// The record's workspace object is registered with the host, and the
// classification object gets a new one of the UID alone, in place of the one
// it had. Without one in the record the object keeps its own.
void set_workspace_object(VirelmgrClassificationObject& host, ServerObject* workspace) {
  if (!workspace) return;
  const std::string& uid = workspace->getUid();
  VirelmgrPomObject::GetInstance(uid, workspace, 0);
  host.SetWorkspaceObject(kestrel::build_on_cpp_memory<VirelmgrWorkspaceObject>(uid, nullptr, 0U));
}

}  // namespace

void KESTREL_write_classification_objects(const std::vector<VirelmgrClassificationObject*>& objects) {
  const auto records = write_records(objects, "KESTREL_write_classification_objects");
  classification_request([&](ClassificationService& service) { service.writeClassificationObjects(records); });
}

void KESTREL_write_classification_objects_2(const std::vector<VirelmgrClassificationObject*>& objects) {
  const auto records = write_records(objects, "KESTREL_write_classification_objects_2");
  classification_request([&](ClassificationService& service) { service.writeClassificationObjects2(records); });
}

void KESTREL_send_classification_object_uids(const std::vector<std::string>& uids) {
  const auto objects = classify::load_each(*kestrel::get_model_manager(KESTREL_LEGACY_HERE), uids);
  classification_request([&](ClassificationService& service) { service.sendClassificationObjects(objects); });
}

std::map<std::string, VirelmgrClassificationClass*>* KESTREL_ask_classification_classes(
    const std::vector<std::string>& class_ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getClasses(class_ids); });
  return classify::classes_by_id<VirelmgrClassificationClass>(class_ids, reply).release();
}

std::map<std::string, std::vector<VirelmgrClassificationClass*>>* KESTREL_ask_class_descriptions(
    const std::vector<std::string>& class_ids) {
  auto reply =
      classification_request([&](ClassificationService& service) { return service.getClassDescriptions(class_ids); });
  return classify::descriptions_by_id<VirelmgrClassificationClass>(class_ids, reply).release();
}

std::map<std::string, std::vector<std::string>>* KESTREL_ask_classification_table(
    const std::vector<std::string>& keys) {
  auto reply =
      classification_request([&](ClassificationService& service) { return service.getClassificationTable(keys); });
  return new std::map<std::string, std::vector<std::string>>(std::move(reply.table));
}

std::map<std::string, std::vector<VirelmgrPomObject*>>* KESTREL_ask_objects_of_classification_ids(
    const std::vector<std::string>& ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getObjectsOfIds(ids); });
  return classify::objects_by_id(ids, reply, pom_object_of).release();
}

std::map<std::string, std::vector<VirelmgrClassificationAttribute>>* KESTREL_ask_class_attributes(
    const std::vector<std::string>& class_ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getAttributes(class_ids); });
  return classify::attributes_by_id<VirelmgrClassificationAttribute>(class_ids, reply).release();
}

std::vector<VirelmgrClassificationClass*>* KESTREL_find_classes(const std::vector<ClassQuery>& queries) {
  const auto request = classify::class_search_request(queries);
  auto reply = classification_request([&](ClassificationService& service) { return service.searchClasses(request); });
  return classify::found_classes<VirelmgrClassificationClass>(queries.size(), reply).release();
}

std::vector<VirelmgrModelObject*>* KESTREL_find_classification_objects(
    const std::vector<ClassificationObjectQuery>& queries) {
  const auto request = classify::object_search_request(queries);
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.searchClassificationObjects(request); });
  return classify::objects_of_lists(reply, model_object_of).release();
}

std::vector<VirelmgrPomObject*>* KESTREL_ask_classification_pom_objects(const std::vector<std::string>& uids) {
  const auto objects = classify::load_each(*kestrel::get_model_manager(KESTREL_LEGACY_HERE), uids);
  auto reply = classification_request([&](ClassificationService& service) { return service.getPomObjects(objects); });
  return new std::vector<VirelmgrPomObject*>(classify::hosts_of(reply.objects, pom_object_of));
}

std::map<std::string, std::vector<VirelmgrModelObject*>>* KESTREL_ask_classifications_of_objects(
    const std::vector<std::string>& workspace_uids) {
  const auto workspace_objects =
      classify::load_workspace_objects(*kestrel::get_model_manager(KESTREL_LEGACY_HERE), workspace_uids);
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationsOfObjects(workspace_objects); });
  auto result = std::make_unique<std::map<std::string, std::vector<VirelmgrModelObject*>>>();
  for (std::size_t i = 0; i < workspace_uids.size(); ++i) {
    if (!workspace_objects[i]) continue;
    auto it = reply.classifications.find(workspace_objects[i]);
    if (it == reply.classifications.end()) continue;
    auto [slot, fresh] = result->try_emplace(workspace_uids[i]);
    if (fresh) slot->second = classify::hosts_of(it->second, model_object_of);
  }
  return result.release();
}

std::map<std::string, VirelmgrClassificationObject*>* KESTREL_load_classification_objects(
    const std::vector<std::string>& uids) {
  const auto objects = classify::load_each(*kestrel::get_model_manager(KESTREL_LEGACY_HERE), uids);
  auto reply = classification_request(
      [&](ClassificationService& service) { return service.getClassificationObjectData(objects); });
  auto result = std::make_unique<std::map<std::string, VirelmgrClassificationObject*>>();
  classify::fill_classification_objects(objects, reply, *result, VirelmgrClassificationObject::ConstructObjectFromUid,
                                        set_workspace_object);
  return result.release();
}

std::map<std::string, ClassificationValueTable>* KESTREL_ask_classification_value_tables(
    const std::vector<std::string>& ids) {
  auto reply = classification_request([&](ClassificationService& service) { return service.getValueTables(ids); });
  return classify::value_tables_of(ids, reply).release();
}
