#include "halden/soa/client/ModelManager.h"

#include <map>

namespace Halden::Soa::Client {

namespace {
std::map<std::string, ModelObjectFactory>& factories() {
  static std::map<std::string, ModelObjectFactory> map = {
      {"User", [](std::string uid, const Type* type) -> ModelObject* { return new Model::User(std::move(uid), type); }},
      {"Folder",
       [](std::string uid, const Type* type) -> ModelObject* { return new Model::Folder(std::move(uid), type); }},
  };
  return map;
}
}  // namespace

void registerModelClass(const std::string& type_name, ModelObjectFactory factory) { factories()[type_name] = factory; }

bool Type::isInstanceOf(const std::string& name) const {
  for (const Type* t = this; t; t = t->getParent())
    if (t->getName() == name) return true;
  return false;
}

ModelManager::ModelManager() = default;
ModelManager::~ModelManager() = default;

ModelObject* ModelManager::findObject(const std::string& uid) const {
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
  if (ModelObject* held = findObject(uid)) return held;
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
  return objectOf(uid, {type_name});
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
