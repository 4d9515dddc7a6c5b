// The host's object model: one host object per server object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "corerun/memory.h"
#include "corerun/ustring.h"

namespace Halden::Soa::Client {
class ModelObject;
}

// The host's tag of an object: its handle in the host's PDM interface.
using tag_t = std::uint32_t;
constexpr tag_t NULL_TAG = 0;

namespace Orvane::PdmSoa {

// The host's lists of texts.
using UStringList = std::vector<UString, SMAlloc<UString>>;

class ModelObjectManager;

class ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }

  explicit ModelObject(Halden::Soa::Client::ModelObject* object);
  virtual ~ModelObject() = default;
  ModelObject(const ModelObject&) = delete;
  ModelObject& operator=(const ModelObject&) = delete;

  virtual UString ClassName() const { return className; }
  // The host's number for the object's host class (7: WorkspaceObject).
  int GetClassType() const;
  Halden::Soa::Client::ModelObject* GetObjectPtr() const { return object_; }
  void SetObjectPtr(Halden::Soa::Client::ModelObject* object) { object_ = object; }
  UString GetUid() const;
  UString GetObjectType() const;
  // The object's tag; NULL_TAG until the object manager holds it. GetPdiTag's
  // flag asks the host to register the object first (this host always has).
  tag_t AskPdiTag() const { return tag_; }
  tag_t GetPdiTag(bool /*create*/) const { return tag_; }
  void SetPdiTag(tag_t tag) { tag_ = tag; }
  // The host object that a reference property names; null when the property
  // is null, not loaded or names nothing.
  virtual ModelObject* GetPropertyObject(const std::string& name) const;
  // The loaded value of a single string property; empty when it is null, not
  // loaded or of another kind.
  virtual UString GetPropertyUString(const std::string& name) const;
  // The same, by the host's C-string name; empty for a null name.
  virtual UString GetPropertyString(const char* name) const;

  // The host object of the UID, registered with the host when it is new.
  static ModelObject* GetInstance(const UString& uid, Halden::Soa::Client::ModelObject* object, unsigned int flags);

  // Labels of the projects the object is to join and to leave, collected by
  // the host until it sends them.
  const UStringList& AskAssignedProjects() const { return assigned_projects_; }
  const UStringList& AskRemovedProjects() const { return removed_projects_; }
  void AddAssignedProject(const UString& label) { assigned_projects_.push_back(label); }
  void AddRemovedProject(const UString& label) { removed_projects_.push_back(label); }
  void ClearProjectData() {
    assigned_projects_.clear();
    removed_projects_.clear();
  }

  // Set once the policy's standard properties were loaded for this object.
  bool standard_properties_loaded = false;

 private:
  friend class ModelObjectManager;
  Halden::Soa::Client::ModelObject* object_;
  // The UID the registry holds the object under, beside the vtable the
  // library's casts read anyway, so checking a registry hit costs no
  // further cache line.
  std::string registry_uid_;
  UStringList assigned_projects_;
  UStringList removed_projects_;
  tag_t tag_ = NULL_TAG;
};

#define ORVANE_HOST_CLASS(Name, Base)                        \
  class Name : public Base {                                 \
   public:                                                   \
    static const UString className;                          \
    static UString AskClassName() { return className; }      \
    using Base::Base;                                        \
    UString ClassName() const override { return className; } \
  }

class PomObject : public ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using ModelObject::ModelObject;
  UString ClassName() const override { return className; }

  // The host object of the UID, made from the server object when the host
  // holds none yet; null when it is no PomObject.
  static PomObject* GetInstance(const std::string& uid, Halden::Soa::Client::ModelObject* object, unsigned int flags);
};

ORVANE_HOST_CLASS(WorkspaceObject, PomObject);
ORVANE_HOST_CLASS(Folder, WorkspaceObject);
ORVANE_HOST_CLASS(ItemRevision, WorkspaceObject);
ORVANE_HOST_CLASS(BomWindow, ModelObject);
ORVANE_HOST_CLASS(Relation, PomObject);

// The host's item registries: which UID an item id, a revision id or the
// revision a named rule configures belongs to.
class Item : public WorkspaceObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using WorkspaceObject::WorkspaceObject;
  UString ClassName() const override { return className; }

  // The "item_id" its server object carries; empty when not loaded.
  UString GetItemId() const;

  static void AddToKnownItems(const UString& item_id, const UString& uid);
  static const std::map<UString, UString>& KnownItems();
  static void ForgetKnownItems();
  // The host item of a known item id, or null.
  static Item* AskPart(const UString& item_id);

  void SetAllRevisions(bool all) { all_revisions_ = all; }
  bool HasAllRevisions() const { return all_revisions_; }
  void AddToKnownRevs(const UString& revision_id, const UString& uid) { known_revs_[revision_id] = uid; }
  const std::map<UString, UString>& KnownRevs() const { return known_revs_; }
  void AddToKnownConfigdRevs(const UString& rule_name, const UString& uid) { configured_revs_[rule_name] = uid; }
  const std::map<UString, UString>& KnownConfigdRevs() const { return configured_revs_; }

 private:
  bool all_revisions_ = false;
  std::map<UString, UString> known_revs_;
  std::map<UString, UString> configured_revs_;
};

class Dataset : public WorkspaceObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using WorkspaceObject::WorkspaceObject;
  UString ClassName() const override { return className; }

  // The names of its release statuses, joined by ","; empty when it has none
  // (or they were not loaded).
  virtual UString AskReleaseStatusText() const;

  void SetHighestVersion(bool highest) { highest_version_ = highest; }
  bool IsHighestVersion() const { return highest_version_; }

 private:
  bool highest_version_ = false;
};

// An occurrence of a saved structure, with the handle the host keeps for it.
class Component : public ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using ModelObject::ModelObject;
  UString ClassName() const override { return className; }

  void SetComponentHandle(const UString& handle) {
    handle_ = handle;
    has_handle_ = true;
  }
  const UString& GetComponentHandle() const { return handle_; }
  bool HasComponentHandle() const { return has_handle_; }

 private:
  UString handle_;
  bool has_handle_ = false;
};

// A line of a BOM window. The library builds child lines itself on
// CppMemory memory; deleting any line returns its memory there.
class BomLine : public ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  BomLine(const UString& uid, void* server_line, unsigned int flags);
  explicit BomLine(Halden::Soa::Client::ModelObject* object);
  UString ClassName() const override { return className; }

  static void* operator new(std::size_t size) { return Orvane::Memory::CppMemory::allocate(size); }
  static void* operator new(std::size_t, void* memory) noexcept { return memory; }
  static void operator delete(void* memory) { Orvane::Memory::CppMemory::free(memory); }
};

}  // namespace Orvane::PdmSoa
