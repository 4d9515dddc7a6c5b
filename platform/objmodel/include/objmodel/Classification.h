// The host's classification classes: classes the library builds itself,
// their attribute definitions, and classification objects with their values.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "corerun/memory.h"
#include "objmodel/ModelObject.h"

namespace Orvane::PdmSoa {

struct TextTriple {
  std::string first, second, third;
};

// A class of the class tree. The library builds these itself on CppMemory
// memory; deleting one returns its memory there.
class ClassificationClass : public ModelObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  ClassificationClass(const std::string& id, const std::string& name, const void* server_object);
  UString ClassName() const override { return className; }

  static void* operator new(std::size_t size) { return Orvane::Memory::CppMemory::allocate(size); }
  static void* operator new(std::size_t, void* memory) noexcept { return memory; }
  static void operator delete(void* memory) { Orvane::Memory::CppMemory::free(memory); }

  void SetClassType(const std::string& type) { class_type_ = type; }
  const std::string& AskClassType() const { return class_type_; }
  const std::string& AskConstructedId() const { return constructed_id_; }
  const std::string& AskConstructedName() const { return constructed_name_; }

  std::string text1, text2, text3, text4, text5, text6, text7;
  int kind = -1;  // -1 until a class record sets it
  int int1 = 0, int2 = 0, int3 = 0;
  std::vector<TextTriple> triples;

 private:
  std::string constructed_id_, constructed_name_;
  std::string class_type_;
};

struct ClassificationAttributeFormat {
  int int1 = 0, int2 = 0, int3 = 0, int4 = 0;
};

struct ClassificationAttribute {
  int id = 0;
  std::string text1, text2, text3;
  ClassificationAttributeFormat format1, format2;
  std::string text4, text5, text6, text7, text8;
  int int1 = 0, int2 = 0;
  std::string text9, text10, text11;
};

// A classification object: what classifies a workspace object under a
// class, with its attribute values.
class ClassificationObject : public PomObject {
 public:
  static const UString className;
  static UString AskClassName() { return className; }
  using PomObject::PomObject;
  UString ClassName() const override { return className; }

  // The host object of a classification object the session knows, made when
  // the host holds none yet; null when neither knows the UID.
  static ClassificationObject* ConstructObjectFromUid(const std::string& uid);

  struct Value {
    int attribute_id = 0;
    std::vector<std::pair<std::string, std::string>> pairs;
  };

  std::string text1, text2;
  int code = 0;
  WorkspaceObject* workspace_object = nullptr;
  std::vector<Value> values;
};

}  // namespace Orvane::PdmSoa
