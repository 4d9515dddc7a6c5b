// The older host's object classes of its PDM manager layer. A host object
// carries its UID and the framework object behind it; GetInstance answers
// the host's one object for a UID, registering it when it is new.
#pragma once

#include <string>

namespace Halden::Soa::Client {
class ModelObject;
}

namespace Orvane::PdmSoa {

class VirelmgrModelObject {
 public:
  VirelmgrModelObject(const std::string& uid, const void* object, unsigned int flag = 0);
  virtual ~VirelmgrModelObject();
  VirelmgrModelObject(const VirelmgrModelObject&) = delete;
  VirelmgrModelObject& operator=(const VirelmgrModelObject&) = delete;

  virtual std::string GetUid() const;
  Halden::Soa::Client::ModelObject* GetObjectPtr() const;
  unsigned int GetFlag() const { return flag_; }

  // The host object of the UID; a known UID answers its object when that is
  // of this class, null otherwise.
  static VirelmgrModelObject* GetInstance(const std::string& uid, const void* object, unsigned int flag);

 private:
  std::string uid_;
  const void* object_;
  unsigned int flag_;
};

class VirelmgrPomObject : public VirelmgrModelObject {
 public:
  using VirelmgrModelObject::VirelmgrModelObject;
  static VirelmgrPomObject* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrWorkspaceObject : public VirelmgrPomObject {
 public:
  using VirelmgrPomObject::VirelmgrPomObject;
  static VirelmgrWorkspaceObject* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrItem : public VirelmgrWorkspaceObject {
 public:
  using VirelmgrWorkspaceObject::VirelmgrWorkspaceObject;
  static VirelmgrItem* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrItemRevision : public VirelmgrWorkspaceObject {
 public:
  using VirelmgrWorkspaceObject::VirelmgrWorkspaceObject;
  static VirelmgrItemRevision* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrDataset : public VirelmgrWorkspaceObject {
 public:
  using VirelmgrWorkspaceObject::VirelmgrWorkspaceObject;
  static VirelmgrDataset* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrFolder : public VirelmgrWorkspaceObject {
 public:
  using VirelmgrWorkspaceObject::VirelmgrWorkspaceObject;
  static VirelmgrFolder* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrQuery : public VirelmgrPomObject {
 public:
  VirelmgrQuery(const std::string& uid, const void* object) : VirelmgrPomObject(uid, object, 0) {}
  static VirelmgrQuery* GetInstance(const std::string& uid, const void* object);
};

class VirelmgrListOfValues : public VirelmgrPomObject {
 public:
  using VirelmgrPomObject::VirelmgrPomObject;
  static VirelmgrListOfValues* GetInstance(const std::string& uid, const void* object, unsigned int flag);
};

class VirelmgrBomWindow : public VirelmgrModelObject {
 public:
  VirelmgrBomWindow(const std::string& uid, const void* object) : VirelmgrModelObject(uid, object, 0) {}
};

class VirelmgrBomLine : public VirelmgrModelObject {
 public:
  VirelmgrBomLine(const std::string& uid, const void* object) : VirelmgrModelObject(uid, object, 0) {}
  static VirelmgrBomLine* GetInstance(const std::string& uid, const void* object);
};

class VirelmgrClassificationClass : public VirelmgrModelObject {
 public:
  VirelmgrClassificationClass(const std::string& class_id, const std::string& uid, const void* object)
      : VirelmgrModelObject(uid, object, 0), class_id_(class_id) {}
  const std::string& GetClassId() const { return class_id_; }

 private:
  std::string class_id_;
};

class VirelmgrClassificationObject : public VirelmgrWorkspaceObject {
 public:
  using VirelmgrWorkspaceObject::VirelmgrWorkspaceObject;
};

}  // namespace Orvane::PdmSoa
