// The framework's own way into its public classes: what replies fill in and
// what services reach that a real framework keeps out of its API. Only the
// wire libraries see this folder; the library compiles against the public
// headers alone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "halden/soa/client/Connection.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/Property.h"

namespace Halden::Soa::Client::Internal {

struct Access {
  // Connection.
  static Server::Server* endpoint(const Connection& connection) { return connection.endpoint(); }
  static Binding binding(const Connection& connection) { return connection.binding_; }
  static bool keepAlive(const Connection& connection) { return connection.keep_alive_; }
  // The service object of that name, empty until made.
  static std::shared_ptr<void>& serviceSlot(Connection& connection, const std::string& name) {
    return connection.services_[name];
  }

  // ModelManager.
  static ModelObject* objectOf(ModelManager& models, const std::string& uid, const std::vector<std::string>& chain) {
    return models.objectOf(uid, chain);
  }
  static void fireDeleted(ModelManager& models, const std::vector<std::string>& uids) { models.fireDeleted(uids); }
  static void fireChanged(ModelManager& models, const std::vector<ModelObject*>& objects) {
    models.fireChanged(objects);
  }
  static void firePartialErrors(ModelManager& models, const std::vector<ErrorStack>& stacks) {
    models.firePartialErrors(stacks);
  }

  // ModelObject and Property.
  static void setProperty(ModelObject& object, const std::string& name, std::unique_ptr<Property> property) {
    object.setProperty(name, std::move(property));
  }
  // The object's property of that name, made empty on first use.
  static std::unique_ptr<Property>& propertySlot(ModelObject& object, const std::string& name) {
    return object.properties_[name];
  }
  static PropertyDescription& description(Property& property) { return property.description_; }
  static Property::Values& values(Property& property) { return property.values_; }
};

}  // namespace Halden::Soa::Client::Internal
