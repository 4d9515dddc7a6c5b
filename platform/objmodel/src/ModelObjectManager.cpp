#include "objmodel/ModelObjectManager.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "kestrel/kestrel_interface.h"
#include "objmodel/Classification.h"
#include "objmodel/Query.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"

#include <set>
#include <stdexcept>

namespace Orvane::PdmSoa {

namespace {

using Factory = ModelObject* (*)(Halden::Soa::Client::ModelObject*);

template <class T>
ModelObject* make(Halden::Soa::Client::ModelObject* o) {
  return new T(o);
}

struct HostClass {
  const char* server_type;
  const UString* class_name;
  Factory factory;
};

// Server types with a host class of their own, most derived first.
const HostClass kHostClasses[] = {
    {"BOMWindow", &BomWindow::className, make<BomWindow>},
    {"BOMLine", &BomLine::className, make<BomLine>},
    {"PSOccurrence", &Component::className, make<Component>},
    {"Folder", &Folder::className, make<Folder>},
    {"Dataset", &Dataset::className, make<Dataset>},
    {"ItemRevision", &ItemRevision::className, make<ItemRevision>},
    {"Item", &Item::className, make<Item>},
    {"OstraQuery", &Query::className, make<Query>},
    {"ListOfValues", &ListOfValues::className, make<ListOfValues>},
    {"WorkspaceObject", &WorkspaceObject::className, make<WorkspaceObject>},
    {"ImanRelation", &Relation::className, make<Relation>},
    {"ICO", &ClassificationObject::className, make<ClassificationObject>},
    {"POM_object", &PomObject::className, make<PomObject>},
};

Factory factory_for_type(const Halden::Soa::Client::ModelObject* object) {
  if (!object) return make<ModelObject>;
  for (const auto* t = object->getType(); t; t = t->getParent())
    for (const auto& c : kHostClasses)
      if (t->getName() == c.server_type) return c.factory;
  return make<ModelObject>;
}

Factory factory_for_class(const UString& class_name) {
  if (class_name == ModelObject::className) return make<ModelObject>;
  for (const auto& c : kHostClasses)
    if (*c.class_name == class_name) return c.factory;
  return nullptr;
}

std::set<std::string>& unwrappable() {
  static std::set<std::string> uids;
  return uids;
}
// Wraps left before the host runs out of memory; negative: never.
int wraps_before_failure = -1;

// Where the probe for a server object starts: its page picks a block of 256
// slots at random, its place in the page the slot in the block. The objects
// of one reply are made one after another, so their slots share a few cache
// lines and pages of the table instead of one each.
std::size_t recent_start(const void* p) {
  const auto address = reinterpret_cast<std::uintptr_t>(p);
  const auto block = static_cast<std::size_t>((address >> 12) * 0x9E3779B97F4A7C15ull >> 20);
  return (block << 8) + ((address >> 4) & 255);
}

template <class Reports>
void keep_recent(Reports& reports) {
  if (reports.size() > ModelObjectManager::kKeptReports)
    reports.erase(reports.begin(), reports.end() - ModelObjectManager::kKeptReports);
}

void delete_list(ErrorStackList* list) {
  for (auto* stack : *list) delete stack;
  delete list;
}

}  // namespace

ModelObjectManager::Recent* ModelObjectManager::recent_slot(const Halden::Soa::Client::ModelObject* server) {
  if (recent_.empty()) return nullptr;
  const std::size_t mask = recent_.size() - 1;
  for (std::size_t i = recent_start(server) & mask;; i = (i + 1) & mask)
    if (recent_[i].server == server || !recent_[i].server) return &recent_[i];
}

void ModelObjectManager::remember(const Halden::Soa::Client::ModelObject* server, ModelObject* host) {
  if (2 * (recent_count_ + 1) > recent_.size()) {
    std::vector<Recent> old(std::max<std::size_t>(64, 2 * recent_.size()));
    old.swap(recent_);
    recent_count_ = 0;
    for (auto& entry : old)
      if (entry.server) {
        *recent_slot(entry.server) = std::move(entry);
        ++recent_count_;
      }
  }
  Recent* slot = recent_slot(server);
  if (!slot->server) ++recent_count_;
  slot->server = server;
  slot->host = host;
}

ModelObject* ModelObjectManager::wrap(const std::string& uid, Halden::Soa::Client::ModelObject* object,
                                      const UString* class_name) {
  if (!object) return nullptr;
  if (!unwrappable().empty() && unwrappable().count(uid))
    throw std::runtime_error("cannot make a host object for " + uid);
  if (wraps_before_failure == 0) throw std::bad_alloc();
  if (wraps_before_failure > 0) --wraps_before_failure;
  // A host object stays the registry's for its UID until ClearMaps, and
  // only this function moves it to another server object (a new session
  // hands out new ones), forgetting the old pair. So a pair held here is
  // the answer, unless the address of a freed server object came back with
  // another UID: the host object's registry UID tells.
  if (const Recent* recent = recent_slot(object);
      recent && recent->server == object && recent->host && recent->host->registry_uid_ == uid)
    return recent->host;
  auto& slot = objects_[uid];
  if (slot) {
    if (Recent* old = recent_slot(slot->GetObjectPtr()); old && old->host == slot.get()) old->host = nullptr;
    slot->SetObjectPtr(object);
  } else {
    Factory f = class_name ? factory_for_class(*class_name) : nullptr;
    if (!f) f = factory_for_type(object);
    slot.reset(f(object));
    slot->registry_uid_ = uid;
    slot->SetPdiTag(next_tag_++);
    by_tag_[slot->AskPdiTag()] = slot.get();
  }
  remember(object, slot.get());
  return slot.get();
}

ModelObject* ModelObjectManager::WrapSoaObject(Halden::Soa::Client::ModelObject* object) {
  if (!object) return null_wrap();
  return wrap(object->getUid(), object, nullptr);
}

ModelObject* ModelObjectManager::WrapSoaObjectWithUid(const UString& uid, Halden::Soa::Client::ModelObject* object) {
  if (!object) return null_wrap();
  return wrap(uid.utf8(), object, nullptr);
}

ModelObject* ModelObjectManager::WrapSoaObjectAsClass(Halden::Soa::Client::ModelObject* object,
                                                      const UString& class_name) {
  if (!object) return null_wrap();
  return wrap(object->getUid(), object, &class_name);
}

ModelObject* ModelObjectManager::FindObject(const UString& uid) const {
  auto it = objects_.find(uid.utf8());
  return it == objects_.end() ? nullptr : it->second.get();
}

namespace {
// The server object the session holds for the UID, or null.
Halden::Soa::Client::ModelObject* session_object(const UString& uid) {
  const KESTREL_interface_s* table = SoaManager::GetSoaInterface();
  Halden::Soa::Client::Connection* connection = table ? table->KESTREL_ask_connection() : nullptr;
  if (!connection) return nullptr;
  try {
    return connection->getModelManager()->findObject(uid.utf8());
  } catch (const Halden::Soa::Client::RuntimeException&) {
    return nullptr;
  }
}
}  // namespace

ModelObject* ModelObjectManager::GetObjectByUid(const UString& uid, const UString& class_name) {
  if (ModelObject* held = FindObject(uid)) return held;
  return WrapSoaObjectAsClass(session_object(uid), class_name);
}

ModelObject* ModelObjectManager::GetInstance(const UString& uid, Halden::Soa::Client::ModelObject* object) {
  if (ModelObject* held = FindObject(uid)) return held;
  return wrap(uid.utf8(), object ? object : session_object(uid), nullptr);
}

ModelObject* ModelObjectManager::GetObjectByTag(tag_t tag) const {
  auto it = by_tag_.find(tag);
  return it == by_tag_.end() ? nullptr : it->second;
}

ModelObject* ModelObjectManager::GetObjectByTagAndClass(tag_t tag, const UString& class_name) const {
  ModelObject* object = GetObjectByTag(tag);
  return object && object->ClassName() == class_name ? object : nullptr;
}

void ModelObjectManager::SetObjectList(int count, ModelObject** objects) {
  object_lists.emplace_back(objects, objects + (count > 0 ? count : 0));
  keep_recent(object_lists);
}

void ModelObjectManager::RegisterDatasets(const std::vector<Dataset*>& datasets) {
  registered_datasets.push_back(datasets);
  keep_recent(registered_datasets);
}

void ModelObjectManager::ClearMaps() {
  recent_.clear();
  recent_count_ = 0;
  by_tag_.clear();
  objects_.clear();
  ++clear_count;
}

void ModelObjectManager::objectsDeleted(const std::vector<std::string>& uids) {
  deleted_reports.push_back(uids);
  keep_recent(deleted_reports);
}

void ModelObjectManager::objectsChanged(const std::vector<std::string>& uids) {
  changed_reports.push_back(uids);
  keep_recent(changed_reports);
}

void ModelObjectManager::handleErrors(ErrorStackList* stacks) {
  error_reports.emplace_back(stacks, delete_list);
  keep_recent(error_reports);
}

}  // namespace Orvane::PdmSoa

void objmodel::testing::set_unwrappable_uids(std::vector<std::string> uids) {
  Orvane::PdmSoa::unwrappable() = std::set<std::string>(uids.begin(), uids.end());
}
namespace objmodel::testing {
void fail_wrapping_after(int wraps) { Orvane::PdmSoa::wraps_before_failure = wraps; }
}  // namespace objmodel::testing
