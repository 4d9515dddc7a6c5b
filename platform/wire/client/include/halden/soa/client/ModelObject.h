#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "halden/soa/client/Property.h"
#include "halden/soa/client/Type.h"

namespace Halden::Soa::Client {

namespace Internal {
struct Access;
}

// A server object as the framework holds it: one per UID, owned by the
// connection's ModelManager.
class ModelObject {
 public:
  ModelObject(std::string uid, const Type* type) : uid_(std::move(uid)), type_(type) {}
  virtual ~ModelObject() = default;
  ModelObject(const ModelObject&) = delete;
  ModelObject& operator=(const ModelObject&) = delete;

  const std::string& getUid() const { return uid_; }
  const Type* getType() const { return type_; }

  // Throws NotLoadedException for a property no reply has carried; answers
  // null for one the server sent as null.
  Property* getProperty(const std::string& name);
  std::vector<std::string> getPropertyNames() const;

 private:
  friend struct Internal::Access;
  // Filled by the framework from a reply.
  void setProperty(const std::string& name, std::unique_ptr<Property> property);

  std::string uid_;
  const Type* type_;
  std::map<std::string, std::unique_ptr<Property>> properties_;
};

// Model classes by server type name; a library of model classes registers its
// own. The ModelManager builds an object as the class of the first type in
// its chain that has one.
using ModelObjectFactory = ModelObject* (*)(std::string uid, const Type* type);
void registerModelClass(const std::string& type_name, ModelObjectFactory factory);

// The factory of a model class, for registerModelClass.
template <class Class>
ModelObject* makeModelObject(std::string uid, const Type* type) {
  return new Class(std::move(uid), type);
}

}  // namespace Halden::Soa::Client
