#include "halden/soa/client/ModelManager.h"

#include <map>

#include "halden/server/DataManagementStub.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/internal/Request.h"
#include "halden/soa/client/testing.h"

namespace Halden::Soa::Client {

namespace {
std::map<std::string, ModelObjectFactory>& factories() {
  static std::map<std::string, ModelObjectFactory> map;
  return map;
}

std::set<std::string>& malformed_uids() {
  static std::set<std::string> uids;
  return uids;
}

void check_uid(const std::string& uid) {
  if (malformed_uids().count(uid)) throw RuntimeException("Malformed UID " + uid);
}

std::set<std::string>& unconstructible_uids() {
  static std::set<std::string> uids;
  return uids;
}
}  // namespace

namespace {
bool listener_removal_fails = false;
}  // namespace

namespace testing {
void set_malformed_uids(std::vector<std::string> uids) { malformed_uids() = {uids.begin(), uids.end()}; }
void set_unconstructible_uids(std::vector<std::string> uids) { unconstructible_uids() = {uids.begin(), uids.end()}; }
void set_listener_removal_failure(bool fail) { listener_removal_fails = fail; }
}  // namespace testing

void ModelManager::removeDeleteListener(DeleteListener* listener) {
  if (listener_removal_fails) throw RuntimeException("the delete listener cannot be removed");
  delete_listeners_.erase(listener);
}

void registerModelClass(const std::string& type_name, ModelObjectFactory factory) { factories()[type_name] = factory; }

bool Type::isInstanceOf(const std::string& name) const {
  for (const Type* t = this; t; t = t->getParent())
    if (t->getName() == name) return true;
  return false;
}

ModelManager::ModelManager(Connection* connection) : connection_(connection) {}
ModelManager::~ModelManager() = default;

ModelObject* ModelManager::findObject(const std::string& uid) const {
  check_uid(uid);
  auto it = objects_.find(uid);
  return it == objects_.end() ? nullptr : it->second.get();
}

const Type* ModelManager::typeOf(const std::vector<std::string>& chain) {
  const Type* parent = nullptr;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto& slot = types_[*it];
    if (!slot) slot = std::make_unique<Type>(*it, parent);
    parent = slot.get();
  }
  if (!parent) {
    auto& slot = types_["BusinessObject"];
    if (!slot) slot = std::make_unique<Type>("BusinessObject", nullptr);
    parent = slot.get();
  }
  return parent;
}

ModelObject* ModelManager::objectOf(const std::string& uid, const std::vector<std::string>& chain) {
  if (auto held = objects_.find(uid); held != objects_.end()) return held->second.get();
  const Type* type = typeOf(chain);
  ModelObject* made = nullptr;
  for (const Type* t = type; t && !made; t = t->getParent()) {
    auto f = factories().find(t->getName());
    if (f != factories().end()) made = f->second(uid, type);
  }
  if (!made) made = new ModelObject(uid, type);
  objects_[uid].reset(made);
  return made;
}

ModelObject* ModelManager::constructTypedObject(const std::string& type_name, const std::string& uid) {
  check_uid(uid);
  if (unconstructible_uids().count(uid)) return nullptr;
  return objectOf(uid, {type_name});
}

ModelObject* ModelManager::loadObjects(std::string uid) {
  if (!connection_) throw RuntimeException("model manager without connection");
  constexpr const char* kService = "Core-2006-03-DataManagement";
  auto reply = Internal::invoke(*connection_, kService, "loadObjects", [&](Server::Server& server) {
    return Internal::require<Soa::Server::DataManagementStub>(server, kService).loadObjects({uid});
  });
  const ServiceData data = Internal::absorb(*connection_, reply);
  for (ModelObject* object : data.getPlainObjects())
    if (object && object->getUid() == uid) return object;
  return nullptr;
}

void ModelManager::fireDeleted(const std::vector<std::string>& uids) {
  for (auto* l : std::set<DeleteListener*>(delete_listeners_)) l->onObjectsDeleted(uids);
}
void ModelManager::fireChanged(const std::vector<ModelObject*>& objects) {
  for (auto* l : std::set<ChangeListener*>(change_listeners_)) l->onObjectsChanged(objects);
}
void ModelManager::firePartialErrors(const std::vector<ErrorStack>& stacks) {
  for (auto* l : std::set<PartialErrorListener*>(error_listeners_)) l->onPartialErrors(stacks);
}

}  // namespace Halden::Soa::Client
