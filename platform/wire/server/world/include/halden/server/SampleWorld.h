// An in-memory PDM server: objects with types and typed properties, users,
// preferences and the session. Replies carry what the property policy of each
// type names; the rest stays not loaded until a get-properties request asks.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "halden/server/Stubs.h"
#include "halden/server/world/ClassificationWorld.h"

namespace Halden::Soa::Server {

// Builders of wire properties.
namespace props {
WireProperty str(const std::string& name, const std::string& value);
WireProperty strs(const std::string& name, std::vector<std::string> values);
WireProperty integer(const std::string& name, int value);
WireProperty ints(const std::string& name, std::vector<int> values);
WireProperty real(const std::string& name, double value);
WireProperty reals(const std::string& name, std::vector<double> values);
WireProperty logical(const std::string& name, bool value);
WireProperty logicals(const std::string& name, std::vector<bool> values);
WireProperty character(const std::string& name, char value);
WireProperty chars(const std::string& name, std::vector<char> values);
WireProperty date(const std::string& name, const Common::DateTime& value);
WireProperty dates(const std::string& name, std::vector<Common::DateTime> values);
WireProperty ref(const std::string& name, const std::string& uid);
WireProperty refs(const std::string& name, std::vector<std::string> uids);
// Present on the object, but sent to the client as null.
WireProperty null(const std::string& name, ValueType type, bool is_array = false);
}  // namespace props

class SampleWorld : public SessionStub,
                    public DataManagementStub,
                    public ConnectionStub,
                    public StructureManagementStub,
                    public PreferenceManagementStub {
 public:
  SampleWorld();

  // Building the world.
  struct StoredObject {
    std::vector<std::string> types;  // own type first
    std::map<std::string, WireProperty> properties;
  };
  void add_user(const std::string& name, const std::string& password, const std::string& group,
                const std::string& role);
  void add_object(const std::string& uid, std::vector<std::string> types, std::vector<WireProperty> properties = {});
  void set_property(const std::string& uid, WireProperty property);
  StoredObject* find(const std::string& uid);
  // Properties every reply carries for objects of the type (and its subtypes).
  void set_policy(const std::string& type, std::set<std::string> names);
  void set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values);
  void set_available_services(std::vector<std::string> names) { services_ = std::move(names); }
  void set_server_version(std::string version) { server_version_ = std::move(version); }
  void set_option(int option, std::string value) { options_[option] = std::move(value); }
  // A revision rule named name with these entry objects (each of a
  // "CFMRuleEntry" type), listed after the rules added before it.
  void add_revision_rule(const std::string& uid, const std::string& name, std::vector<std::string> entry_uids);

  // Product structure (ProductWorld.cpp). An item is "item-<id>", its
  // revision "rev-<id>-<rev>" with the BOM view revision "bvr-<id>-<rev>".
  // Revisions count as added oldest first. A rule configures, entry by entry,
  // the newest released revision (a status entry) or the newest revision (a
  // working entry); other entries configure nothing, and no rule configures
  // the newest revision.
  std::string add_item(const std::string& item_id, const std::string& name);
  std::string add_item_revision(const std::string& item_id, const std::string& revision_id, bool released);
  // A dataset of the revision under the relation, with "object_type" type.
  void add_dataset(const std::string& uid, const std::string& item_id, const std::string& revision_id,
                   const std::string& relation, const std::string& type, const std::string& name);
  // A child occurrence in the revision's BOM view. Its line is named name
  // ("bl_line_name", the child item id when empty); quantity 0 leaves
  // "bl_quantity" empty.
  void add_occurrence(const std::string& item_id, const std::string& revision_id, const std::string& child_item_id,
                      int quantity = 0, const std::string& name = "");
  // The BOM windows created and not closed yet.
  std::vector<std::string> open_windows() const;

  // A reply that carries these objects, each with the policy's properties
  // and the named ones; referenced objects come along without properties.
  WireServiceData reply_with(const std::vector<std::string>& uids, const std::vector<std::string>& names = {}) const;
  WireObject wire_object(const std::string& uid, const std::vector<std::string>& names) const;

  // The families that live in world parts of their own.
  ClassificationWorld classification{*this};

  // What the session saw.
  const std::string& session_user() const { return session_user_; }
  int pom_refresh_requests() const { return pom_refresh_requests_; }
  bool pom_refresh() const { return pom_refresh_; }

  // SessionStub
  WireServiceData login(const LoginRequest& request) override;
  WireServiceData logout() override;
  SessionInfoReply getSessionInfo() override;
  PreferencesReply getPreferences(const std::string& scope, const std::vector<std::string>& names) override;
  std::vector<std::string> getAvailableServices() override;
  WireServiceData refreshPOMCachePerRequest(bool refresh) override;

  // DataManagementStub
  WireServiceData getProperties(const std::vector<std::string>& uids, const std::vector<std::string>& names) override;
  WireServiceData loadObjects(const std::vector<std::string>& uids) override;
  ItemFromIdReply getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                const std::vector<RelationFilterRecord>& filters) override;

  // ConnectionStub
  std::string getOption(int option) override;

  // StructureManagementStub
  RevisionRulesReply getRevisionRules() override;
  BomWindowsReply createBomWindows(const std::vector<BomWindowRequest>& requests) override;
  WireServiceData closeBomWindows(const std::vector<std::string>& window_uids) override;
  ExpandBomLinesReply expandBomLinesOneLevel(const std::vector<std::string>& line_uids,
                                             const ExpandInfo& info) override;
  // Each path names lines below the scope (a window's top line, or a line)
  // by "bl_line_name"; a path found answers its last name as the key.
  BomLinesByPathReply getBomLinesByPath(const std::vector<BomPathRequest>& requests) override;
  ConfiguredRevisionsReply getConfiguredRevisions(const std::vector<ConfiguredRevisionRequest>& requests) override;

  // PreferenceManagementStub: the values are stored under the lower-case
  // scope name, where getPreferences finds them.
  WireServiceData setPreferences(const std::vector<PreferenceScope>& scopes) override;

 private:
  struct User {
    std::string password, group, role, uid;
  };
  std::set<std::string> policy_of(const StoredObject& object) const;
  void add_referenced(WireServiceData& data, const WireObject& object, std::set<std::string>& seen) const;
  WireErrorStack not_found(const std::string& uid) const;
  void add_product_structure();
  struct ProductStructure;
  // Shared, so the header need not see the type.
  std::shared_ptr<ProductStructure> product_;

  std::map<std::string, StoredObject> objects_;
  std::map<std::string, std::set<std::string>> policy_;
  std::map<std::string, User> users_;
  std::map<std::string, std::map<std::string, std::vector<std::string>>> preferences_;
  std::vector<std::string> services_;
  std::map<int, std::string> options_;
  std::vector<std::string> revision_rules_;
  std::string server_version_ = "P2009.1.0";
  std::string session_user_;
  int pom_refresh_requests_ = 0;
  bool pom_refresh_ = false;
};

}  // namespace Halden::Soa::Server
