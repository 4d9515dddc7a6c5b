// An in-memory PDM server: one store of objects, types, properties, policies
// and preferences, and one part per service family over it, filled with a
// sample (a user, revision rules, a utility cart's product structure). Each
// part implements its family's stub; the builders below fill the store
// through the part that owns the data.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "halden/server/WorldStore.h"
#include "halden/server/world/AiWorld.h"
#include "halden/server/world/CadDataManagementWorld.h"
#include "halden/server/world/ClassificationWorld.h"
#include "halden/server/world/ConnectionWorld.h"
#include "halden/server/world/DataManagementWorld.h"
#include "halden/server/world/FileManagementWorld.h"
#include "halden/server/world/InternalDataManagementWorld.h"
#include "halden/server/world/ManagedRelationsWorld.h"
#include "halden/server/world/PreferenceManagementWorld.h"
#include "halden/server/world/ProductCatalog.h"
#include "halden/server/world/ProjectLevelSecurityWorld.h"
#include "halden/server/world/PropDescriptorWorld.h"
#include "halden/server/world/RequirementsManagementWorld.h"
#include "halden/server/world/ReservationWorld.h"
#include "halden/server/world/SavedQueryWorld.h"
#include "halden/server/world/SessionWorld.h"
#include "halden/server/world/StructureManagementWorld.h"
#include "halden/server/world/ValidationWorld.h"

namespace Halden::Soa::Server {

class SampleWorld {
 public:
  using StoredObject = WorldStore::StoredObject;

  SampleWorld();
  SampleWorld(const SampleWorld&) = delete;
  SampleWorld& operator=(const SampleWorld&) = delete;

  // Building the world.
  void add_user(const std::string& name, const std::string& password, const std::string& group,
                const std::string& role) {
    session.add_user(name, password, group, role);
  }
  void add_object(const std::string& uid, std::vector<std::string> types, std::vector<WireProperty> properties = {}) {
    store.add_object(uid, std::move(types), std::move(properties));
  }
  void set_property(const std::string& uid, WireProperty property) { store.set_property(uid, std::move(property)); }
  StoredObject* find(const std::string& uid) { return store.find(uid); }
  void set_policy(const std::string& type, std::set<std::string> names) { store.set_policy(type, std::move(names)); }
  void set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values) {
    store.set_preference(scope, name, std::move(values));
  }
  void set_available_services(std::vector<std::string> names) { session.set_available_services(std::move(names)); }
  const std::vector<std::string>& available_services() const { return session.available_services(); }
  void set_server_version(std::string version) { session.set_server_version(std::move(version)); }
  void set_option(int option, std::string value) { connection.set_option(option, std::move(value)); }
  void add_revision_rule(const std::string& uid, const std::string& name, std::vector<std::string> entry_uids) {
    structuremanagement.add_revision_rule(uid, name, std::move(entry_uids));
  }
  std::string add_item(const std::string& item_id, const std::string& name) { return catalog.add_item(item_id, name); }
  std::string add_item_revision(const std::string& item_id, const std::string& revision_id, bool released) {
    return catalog.add_item_revision(item_id, revision_id, released);
  }
  void add_dataset(const std::string& uid, const std::string& item_id, const std::string& revision_id,
                   const std::string& relation, const std::string& type, const std::string& name) {
    catalog.add_dataset(uid, item_id, revision_id, relation, type, name);
  }
  void add_occurrence(const std::string& item_id, const std::string& revision_id, const std::string& child_item_id,
                      int quantity = 0, const std::string& name = "") {
    catalog.add_occurrence(item_id, revision_id, child_item_id, quantity, name);
  }
  std::string add_dataset_file(const std::string& dataset_uid, const std::string& reference_name,
                               const std::string& file_name) {
    return catalog.add_dataset_file(dataset_uid, reference_name, file_name);
  }
  void set_type_description(const std::string& type, std::vector<TypeDescriptionEntryRecord> entries) {
    datamanagement.set_type_description(type, std::move(entries));
  }
  std::vector<std::string> open_windows() const { return structuremanagement.open_windows(); }
  std::unique_ptr<StructureManagementWorld::SavedOccurrence> saved_occurrence(const std::string& thread_uid) const {
    return structuremanagement.saved_occurrence(thread_uid);
  }
  WireServiceData reply_with(const std::vector<std::string>& uids, const std::vector<std::string>& names = {}) const {
    return store.reply_with(uids, names);
  }

  // What the session saw.
  const std::string& session_user() const { return session.session_user(); }
  int pom_refresh_requests() const { return session.pom_refresh_requests(); }
  bool pom_refresh() const { return session.pom_refresh(); }

  // The item ids of the sample's utility cart.
  static std::vector<std::string> parts_of_cart();

  // The single source of truth, then one part per family.
  WorldStore store;
  ProductCatalog catalog{store};
  SessionWorld session{store};
  DataManagementWorld datamanagement{store, catalog};
  StructureManagementWorld structuremanagement{store, catalog};
  PreferenceManagementWorld preferencemanagement{store};
  ConnectionWorld connection;
  SavedQueryWorld savedquery{store, session};
  AiWorld ai;
  FileManagementWorld filemanagement{store, catalog};
  ReservationWorld reservation{store, session};
  CadDataManagementWorld caddatamanagement{store, datamanagement, filemanagement};
  ProjectLevelSecurityWorld projectlevelsecurity{store};
  ClassificationWorld classification{store};
  ManagedRelationsWorld managedrelations{store, session};
  InternalDataManagementWorld internaldatamanagement{store, managedrelations};
  RequirementsManagementWorld requirementsmanagement{store};
  PropDescriptorWorld propdescriptor{store};
  ValidationWorld validation{store};

 private:
  void add_attribute_mapping(const std::vector<std::string>& item_ids);
  void add_value_kinds();
};

}  // namespace Halden::Soa::Server
