#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "corerun/memory.h"
#include "corerun/ustring.h"
#include "objmodel/ErrorStack.h"
#include "objmodel/ModelObject.h"

namespace Orvane::PdmSoa {

using ErrorStackList = std::vector<ErrorStack*, SMAlloc<ErrorStack*>>;

// The host's registry of host objects, keyed by UID. It owns them.
class ModelObjectManager {
 public:
  // The host object of a server object, made as the host class of its type.
  ModelObject* WrapSoaObject(Halden::Soa::Client::ModelObject* object);
  ModelObject* WrapSoaObjectWithUid(const UString& uid, Halden::Soa::Client::ModelObject* object);
  // Made as the named host class when the registry has none for the UID yet.
  ModelObject* WrapSoaObjectAsClass(Halden::Soa::Client::ModelObject* object, const UString& class_name);
  // What the registry holds for the UID, or null.
  ModelObject* FindObject(const UString& uid) const;
  // The host object of the UID, made as the named class from the session's
  // server object when the registry has none yet; null when neither knows it.
  ModelObject* GetObjectByUid(const UString& uid, const UString& class_name);
  // The host object of a tag, or null; ...AndClass also null when the object
  // is not of that host class.
  ModelObject* GetObjectByTag(tag_t tag) const;
  ModelObject* GetObjectByTagAndClass(tag_t tag, const UString& class_name) const;
  // Objects the host is to keep together as one list (attribute write-back);
  // the last kKeptReports lists are recorded for tests.
  void SetObjectList(int count, ModelObject** objects);
  std::vector<std::vector<ModelObject*>> object_lists;
  // The host object of the UID; a new one is made from the server object
  // given, or else from the session's, as the host class of its type.
  ModelObject* GetInstance(const UString& uid, Halden::Soa::Client::ModelObject* object);
  // Datasets the library found beside the items it was asked for; the last
  // kKeptReports lists are recorded for tests.
  void RegisterDatasets(const std::vector<Dataset*>& datasets);

  // Forgets and deletes every host object.
  void ClearMaps();

  void objectsDeleted(const std::vector<std::string>& uids);
  void objectsChanged(const std::vector<std::string>& uids);
  // Takes ownership of the list and its stacks.
  void handleErrors(ErrorStackList* stacks);

  // What the library has told the host lately, oldest first; read by tests.
  // Only the last kKeptReports deleted, changed and error reports are kept,
  // as a host handles them and moves on.
  static constexpr std::size_t kKeptReports = 64;
  std::vector<std::vector<std::string>> deleted_reports;
  std::vector<std::vector<std::string>> changed_reports;
  std::vector<std::vector<Dataset*>> registered_datasets;
  std::vector<std::unique_ptr<ErrorStackList, void (*)(ErrorStackList*)>> error_reports;
  int clear_count = 0;
  // Wraps asked for no server object at all; answered null. Read by tests.
  int null_wraps = 0;

 private:
  ModelObject* null_wrap() {
    ++null_wraps;
    return nullptr;
  }
  // The UID as the registry keys it, so a server object's own needs no copy.
  ModelObject* wrap(const std::string& uid, Halden::Soa::Client::ModelObject* object, const UString* class_name);
  // The host object that holds a server object: wrapping the same pair
  // again, as every reply does, costs one probe by address (four entries to
  // a cache line) and a look at the host object's own registry UID instead
  // of a lookup by UID.
  struct Recent {
    const Halden::Soa::Client::ModelObject* server = nullptr;  // set once a slot is taken
    ModelObject* host = nullptr;                               // null once the host object holds another server object
  };
  Recent* recent_slot(const Halden::Soa::Client::ModelObject* server);
  void remember(const Halden::Soa::Client::ModelObject* server, ModelObject* host);

  std::unordered_map<std::string, std::unique_ptr<ModelObject>> objects_;
  std::vector<Recent> recent_;  // open addressing by address; a power of two, at most half full
  std::size_t recent_count_ = 0;
  std::unordered_map<tag_t, ModelObject*> by_tag_;
  tag_t next_tag_ = 1;  // never reused, so a stale tag names nothing
};

}  // namespace Orvane::PdmSoa
