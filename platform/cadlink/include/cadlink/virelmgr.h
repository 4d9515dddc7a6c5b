// The older host's object classes of its PDM manager layer. A host object
// carries its UID and the framework object behind it; GetInstance answers
// the host's one object for a UID, registering it when it is new.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "corerun/clock.h"

namespace Halden::Soa::Client {
class ModelObject;
}

// Data types of query fields and of lists of values; the older host's copy
// of the enum the newer host's object model declares, with the same values.
enum virelmgrFieldDataType_e {
  virelmgrFieldChar = 2001,
  virelmgrFieldDate = 2002,
  virelmgrFieldDouble = 2003,
  virelmgrFieldFloat = 2004,
  virelmgrFieldInt = 2005,
  virelmgrFieldLogical = 2006,
  virelmgrFieldShort = 2007,
  virelmgrFieldString = 2008,
  virelmgrFieldTypedReference = 2009,
  virelmgrFieldUntypedReference = 2010,
  virelmgrFieldExternalReference = 2011,
};

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

// The allowed values of a query field; the setter called says their type.
class VirelmgrListOfValues : public VirelmgrPomObject {
 public:
  using VirelmgrPomObject::VirelmgrPomObject;
  static VirelmgrListOfValues* GetInstance(const std::string& uid, const void* object, unsigned int flag);

  void SetCharValues(const std::vector<char>& values);
  void SetDateValues(const std::vector<date_s>& values);
  void SetDoubleValues(const std::vector<double>& values);
  void SetIntValues(const std::vector<int>& values);
  void SetStringValues(const std::vector<std::string>& values);
  void SetReferenceValues(const std::vector<VirelmgrModelObject*>& values);

  // What the setters were given; read by tests.
  std::string set_by;  // the name of the last setter called
  std::vector<char> char_values;
  std::vector<date_s> date_values;
  std::vector<double> double_values;
  std::vector<int> int_values;
  std::vector<std::string> string_values;
  std::vector<VirelmgrModelObject*> reference_values;
};

class VirelmgrQuery : public VirelmgrPomObject {
 public:
  VirelmgrQuery(const std::string& uid, const void* object) : VirelmgrPomObject(uid, object, 0) {}
  static VirelmgrQuery* GetInstance(const std::string& uid, const void* object);

  struct FieldDescription {
    virelmgrFieldDataType_e type;
    std::string entry_name, attribute_name, value, logical_operation, math_operation;
    VirelmgrListOfValues* lov;  // null when the field has none
  };
  void AddFieldDescription(virelmgrFieldDataType_e type, const std::string& entry_name,
                           const std::string& attribute_name, const std::string& value,
                           const std::string& logical_operation, const std::string& math_operation,
                           VirelmgrListOfValues* lov);
  const std::vector<FieldDescription>& GetFieldDescriptions() const { return fields_; }

 private:
  std::vector<FieldDescription> fields_;
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

struct VirelmgrTextTriple {
  std::string first, second, third;
};

// A class of the class tree, built by the library on CppMemory memory; the
// host destroys it and gives the memory back there.
class VirelmgrClassificationClass : public VirelmgrModelObject {
 public:
  VirelmgrClassificationClass(const std::string& class_id, const std::string& uid, const void* object)
      : VirelmgrModelObject(uid, object, 0), class_id_(class_id) {}
  const std::string& GetClassId() const { return class_id_; }

  void SetClassType(const std::string& type) { class_type_ = type; }
  const std::string& AskClassType() const { return class_type_; }

  std::string text1, text2, text3, text4, text5, text6, text7;
  int kind = -1;  // -1 until a class record sets it
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<VirelmgrTextTriple> triples;

 private:
  std::string class_id_;
  std::string class_type_;
};

struct VirelmgrClassificationAttributeFormat {
  int int1 = 0, int2 = 0, int3 = 0, int4 = 0;
};

// An attribute definition of a class, by value.
struct VirelmgrClassificationAttribute {
  int id = 0;
  std::string text1, text2, text3;
  VirelmgrClassificationAttributeFormat format1, format2;
  std::string text4, text5, text6, text7, text8;
  int int1 = 0, int2 = 0;
  std::string text9, text10, text11;
};

// What classifies a workspace object under a class, with its attribute
// values. It owns its workspace object.
class VirelmgrClassificationObject : public VirelmgrPomObject {
 public:
  using VirelmgrPomObject::VirelmgrPomObject;
  ~VirelmgrClassificationObject() override;

  // The host's one classification object of the UID, made when it holds none
  // yet; null when the host refuses the UID or holds another kind of object
  // for it.
  static VirelmgrClassificationObject* ConstructObjectFromUid(const std::string& uid);

  VirelmgrWorkspaceObject* GetWorkspaceObject() const { return workspace_object_; }
  // Takes an object built on CppMemory memory (or null) and destroys the one
  // it had.
  void SetWorkspaceObject(VirelmgrWorkspaceObject* object);

  struct Value {
    int attribute_id = 0;
    std::vector<std::pair<std::string, std::string>> pairs;
  };

  std::string text1, text2;
  int code = 0;
  std::vector<Value> values;

 private:
  VirelmgrWorkspaceObject* workspace_object_ = nullptr;
};

}  // namespace Orvane::PdmSoa
