#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "halden/soa/client/ErrorStack.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Type.h"

namespace Halden::Soa::Client {

class Connection;
namespace Internal {
struct Access;
}

class DeleteListener {
 public:
  virtual ~DeleteListener() = default;
  virtual void onObjectsDeleted(const std::vector<std::string>& uids) = 0;
};

class ChangeListener {
 public:
  virtual ~ChangeListener() = default;
  virtual void onObjectsChanged(const std::vector<ModelObject*>& objects) = 0;
};

class PartialErrorListener {
 public:
  virtual ~PartialErrorListener() = default;
  virtual void onPartialErrors(const std::vector<ErrorStack>& stacks) = 0;
};

// The objects of one connection, one per UID, and the listeners told of
// every reply.
class ModelManager {
 public:
  explicit ModelManager(Connection* connection = nullptr);
  ~ModelManager();
  ModelManager(const ModelManager&) = delete;
  ModelManager& operator=(const ModelManager&) = delete;

  // What the manager holds, or null. Throws RuntimeException for a malformed UID.
  ModelObject* findObject(const std::string& uid) const;
  // An object of that type with that UID; the one held when there is one.
  // Throws RuntimeException for a malformed UID.
  ModelObject* constructTypedObject(const std::string& type_name, const std::string& uid);
  // Sends one load-objects request for the UID; its object, or null when the
  // reply does not hold it.
  ModelObject* loadObjects(std::string uid);

  // Adding twice or removing what was never added is harmless.
  void addDeleteListener(DeleteListener* listener) { delete_listeners_.insert(listener); }
  void removeDeleteListener(DeleteListener* listener);
  void addChangeListener(ChangeListener* listener) { change_listeners_.insert(listener); }
  void removeChangeListener(ChangeListener* listener) { change_listeners_.erase(listener); }
  void addPartialErrorListener(PartialErrorListener* listener) { error_listeners_.insert(listener); }
  void removePartialErrorListener(PartialErrorListener* listener) { error_listeners_.erase(listener); }

 private:
  friend struct Internal::Access;
  // The type of a chain of names (type first, parents after).
  const Type* typeOf(const std::vector<std::string>& chain);
  // The object of the UID, made as the chain's class when not held yet.
  ModelObject* objectOf(const std::string& uid, const std::vector<std::string>& chain);
  void fireDeleted(const std::vector<std::string>& uids);
  void fireChanged(const std::vector<ModelObject*>& objects);
  void firePartialErrors(const std::vector<ErrorStack>& stacks);

  Connection* connection_;
  std::map<std::string, std::unique_ptr<Type>> types_;
  std::unordered_map<std::string, std::unique_ptr<ModelObject>> objects_;
  std::set<DeleteListener*> delete_listeners_;
  std::set<ChangeListener*> change_listeners_;
  std::set<PartialErrorListener*> error_listeners_;
};

}  // namespace Halden::Soa::Client
