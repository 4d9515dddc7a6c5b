// The host's object model: one host object per server object.
#pragma once

#include "corerun/ustring.h"

namespace Halden::Soa::Client {
class ModelObject;
}

namespace Orvane::PdmSoa {

class ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }

  explicit ModelObject(Halden::Soa::Client::ModelObject* object);
  virtual ~ModelObject() = default;
  ModelObject(const ModelObject&) = delete;
  ModelObject& operator=(const ModelObject&) = delete;

  virtual UString ClassName() const { return className; }
  Halden::Soa::Client::ModelObject* GetObjectPtr() const { return object_; }
  void SetObjectPtr(Halden::Soa::Client::ModelObject* object) { object_ = object; }
  UString GetUid() const;
  UString GetObjectType() const;

  // Set once the policy's standard properties were loaded for this object.
  bool standard_properties_loaded = false;

 private:
  Halden::Soa::Client::ModelObject* object_;
};

#define ORVANE_HOST_CLASS(Name, Base)                        \
  class Name : public Base {                                 \
   public:                                                   \
    static const UString className;                          \
    static UString AskClassName() { return className; }      \
    using Base::Base;                                        \
    UString ClassName() const override { return className; } \
  }

ORVANE_HOST_CLASS(PomObject, ModelObject);
ORVANE_HOST_CLASS(WorkspaceObject, PomObject);
ORVANE_HOST_CLASS(Folder, WorkspaceObject);
ORVANE_HOST_CLASS(Item, WorkspaceObject);
ORVANE_HOST_CLASS(ItemRevision, WorkspaceObject);
ORVANE_HOST_CLASS(Dataset, WorkspaceObject);

}  // namespace Orvane::PdmSoa
