// The sample world's one store: objects with their types and typed
// properties, the property policy of each type, and preferences by scope.
// Every family's part of the world reads and writes it, so an object a reply
// names is the same object wherever it turns up. Replies carry what the
// policy of each type names; the rest stays not loaded until a
// get-properties request asks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

// Builders of wire properties.
namespace props {
WireProperty str(const std::string& name, const std::string& value);
WireProperty strs(const std::string& name, std::vector<std::string> values);
WireProperty integer(const std::string& name, int value);
WireProperty ints(const std::string& name, std::vector<int> values);
WireProperty real(const std::string& name, double value);
WireProperty reals(const std::string& name, std::vector<double> values);
WireProperty real32(const std::string& name, float value);
WireProperty int16(const std::string& name, short value);
WireProperty logical(const std::string& name, bool value);
WireProperty logicals(const std::string& name, std::vector<bool> values);
WireProperty character(const std::string& name, char value);
WireProperty chars(const std::string& name, std::vector<char> values);
WireProperty date(const std::string& name, const Common::DateTime& value);
WireProperty dates(const std::string& name, std::vector<Common::DateTime> values);
WireProperty ref(const std::string& name, const std::string& uid);
WireProperty refs(const std::string& name, std::vector<std::string> uids);
// The same property, described as one a client may not write.
WireProperty read_only(WireProperty property);
// Present on the object, but sent to the client as null.
WireProperty null(const std::string& name, ValueType type, bool is_array = false);
}  // namespace props

class WorldStore {
 public:
  struct StoredObject {
    std::vector<std::string> types;  // own type first
    std::map<std::string, WireProperty> properties;
  };
  // Preference values by scope, then name.
  using Preferences = std::map<std::string, std::map<std::string, std::vector<std::string>>>;

  void add_object(const std::string& uid, std::vector<std::string> types, std::vector<WireProperty> properties = {});
  void set_property(const std::string& uid, WireProperty property);
  StoredObject* find(const std::string& uid);
  const StoredObject* find(const std::string& uid) const;
  // The objects whose type chain holds the type, in UID order.
  std::vector<std::string> uids_of_type(const std::string& type) const;
  // Every stored object, by UID.
  const std::map<std::string, StoredObject>& objects() const { return objects_; }
  // Forgets the object; false when the store did not hold it.
  bool remove(const std::string& uid) { return objects_.erase(uid) != 0; }
  // A UID the store does not hold, the stem and a number: numbers go on
  // from the last one handed out for the stem, skipping any taken, so a
  // request that creates many objects asks for each once.
  std::string fresh_uid(const std::string& stem);
  // Properties every reply carries for objects of the type (and its subtypes).
  void set_policy(const std::string& type, std::set<std::string> names);
  // A named object property policy: the properties it adds per type. Applying
  // it adds them to the policy of each type; false for an unknown name.
  void add_named_policy(const std::string& name, std::map<std::string, std::set<std::string>> names);
  bool apply_named_policy(const std::string& name);
  void set_preference(const std::string& scope, const std::string& name, std::vector<std::string> values);
  Preferences& preferences() { return preferences_; }
  const Preferences& preferences() const { return preferences_; }

  // A reply that carries these objects, each with the policy's properties
  // and the named ones; referenced objects come along without properties.
  WireServiceData reply_with(const std::vector<std::string>& uids, const std::vector<std::string>& names = {}) const;
  // The same, naming each UID the store holds among the plain objects and
  // each other by a not-found error, in request order.
  WireServiceData plain_reply(const std::vector<std::string>& uids, const std::vector<std::string>& names) const;
  WireObject wire_object(const std::string& uid, const std::vector<std::string>& names) const;
  // The partial error for a UID the store does not hold.
  static WireErrorStack not_found(const std::string& uid);
  // A partial error of one request element.
  static WireErrorStack error_of(int client_index, const std::string& client_id, int code, const std::string& message);

 private:
  WireServiceData reply(const std::vector<std::string>& uids, const std::vector<std::string>& names, bool plain) const;
  WireObject wire_object(const std::string& uid, const StoredObject& stored,
                         const std::vector<std::string>& names) const;
  void add_referenced(WireServiceData& data, const WireObject& object, std::unordered_set<std::string>& seen) const;

  std::map<std::string, StoredObject> objects_;
  std::map<std::string, std::set<std::string>> policy_;
  std::map<std::string, std::map<std::string, std::set<std::string>>> named_policies_;
  Preferences preferences_;
  std::unordered_map<std::string, std::size_t> last_number_;  // by stem
};

// Collects reply UIDs once each, in first-seen order.
class UidList {
 public:
  void add(const std::string& uid) {
    if (!uid.empty() && seen_.insert(uid).second) uids_.push_back(uid);
  }
  void add(const std::vector<std::string>& uids) {
    for (const auto& uid : uids) add(uid);
  }
  const std::vector<std::string>& uids() const { return uids_; }

 private:
  std::unordered_set<std::string> seen_;
  std::vector<std::string> uids_;
};

}  // namespace Halden::Soa::Server
