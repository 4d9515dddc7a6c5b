#include "cadlink/virelmgr.h"

#include <map>
#include <memory>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/memory.h"

namespace Orvane::PdmSoa {

namespace {
struct Registry {
  std::map<std::string, std::unique_ptr<VirelmgrModelObject>> objects;
  std::set<std::string> refused;
  std::vector<std::string> asked;
  std::set<std::string> unbuildable;
};

Registry& registry() {
  static Registry r;
  return r;
}

template <class T, class... Flag>
T* instance_of(const std::string& uid, const void* object, Flag... flag) {
  auto& r = registry();
  r.asked.push_back(uid);
  if (r.refused.count(uid)) return nullptr;
  auto it = r.objects.find(uid);
  if (it != r.objects.end()) return dynamic_cast<T*>(it->second.get());
  auto made = std::make_unique<T>(uid, object, flag...);
  T* answer = made.get();
  r.objects.emplace(uid, std::move(made));
  return answer;
}
}  // namespace

VirelmgrModelObject::VirelmgrModelObject(const std::string& uid, const void* object, unsigned int flag)
    : uid_(uid), object_(object), flag_(flag) {
  if (registry().unbuildable.count(uid_)) throw std::bad_alloc();
}
VirelmgrModelObject::~VirelmgrModelObject() = default;
std::string VirelmgrModelObject::GetUid() const { return uid_; }
Halden::Soa::Client::ModelObject* VirelmgrModelObject::GetObjectPtr() const {
  return static_cast<Halden::Soa::Client::ModelObject*>(const_cast<void*>(object_));
}

VirelmgrModelObject* VirelmgrModelObject::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrModelObject>(uid, object, flag);
}
VirelmgrPomObject* VirelmgrPomObject::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrPomObject>(uid, object, flag);
}
VirelmgrWorkspaceObject* VirelmgrWorkspaceObject::GetInstance(const std::string& uid, const void* object,
                                                              unsigned int flag) {
  return instance_of<VirelmgrWorkspaceObject>(uid, object, flag);
}
VirelmgrItem* VirelmgrItem::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrItem>(uid, object, flag);
}
VirelmgrItemRevision* VirelmgrItemRevision::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrItemRevision>(uid, object, flag);
}
VirelmgrDataset* VirelmgrDataset::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrDataset>(uid, object, flag);
}
VirelmgrFolder* VirelmgrFolder::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrFolder>(uid, object, flag);
}
VirelmgrQuery* VirelmgrQuery::GetInstance(const std::string& uid, const void* object) {
  return instance_of<VirelmgrQuery>(uid, object);
}
VirelmgrListOfValues* VirelmgrListOfValues::GetInstance(const std::string& uid, const void* object, unsigned int flag) {
  return instance_of<VirelmgrListOfValues>(uid, object, flag);
}
void VirelmgrListOfValues::SetCharValues(const std::vector<char>& values) {
  set_by = "SetCharValues";
  char_values = values;
}
void VirelmgrListOfValues::SetDateValues(const std::vector<date_s>& values) {
  set_by = "SetDateValues";
  date_values = values;
}
void VirelmgrListOfValues::SetDoubleValues(const std::vector<double>& values) {
  set_by = "SetDoubleValues";
  double_values = values;
}
void VirelmgrListOfValues::SetIntValues(const std::vector<int>& values) {
  set_by = "SetIntValues";
  int_values = values;
}
void VirelmgrListOfValues::SetStringValues(const std::vector<std::string>& values) {
  set_by = "SetStringValues";
  string_values = values;
}
void VirelmgrListOfValues::SetReferenceValues(const std::vector<VirelmgrModelObject*>& values) {
  set_by = "SetReferenceValues";
  reference_values = values;
}

void VirelmgrQuery::AddFieldDescription(virelmgrFieldDataType_e type, const std::string& entry_name,
                                        const std::string& attribute_name, const std::string& value,
                                        const std::string& logical_operation, const std::string& math_operation,
                                        VirelmgrListOfValues* lov) {
  fields_.push_back({type, entry_name, attribute_name, value, logical_operation, math_operation, lov});
}

VirelmgrBomLine* VirelmgrBomLine::GetInstance(const std::string& uid, const void* object) {
  return instance_of<VirelmgrBomLine>(uid, object);
}

VirelmgrClassificationObject::~VirelmgrClassificationObject() { SetWorkspaceObject(nullptr); }

VirelmgrClassificationObject* VirelmgrClassificationObject::ConstructObjectFromUid(const std::string& uid) {
  return instance_of<VirelmgrClassificationObject>(uid, nullptr, 0U);
}

void VirelmgrClassificationObject::SetWorkspaceObject(VirelmgrWorkspaceObject* object) {
  if (object == workspace_object_) return;
  if (workspace_object_) {
    workspace_object_->~VirelmgrWorkspaceObject();
    Orvane::Memory::CppMemory::deallocate(workspace_object_);
  }
  workspace_object_ = object;
}

}  // namespace Orvane::PdmSoa

namespace cadlink::testing {
void refuse_instances(std::vector<std::string> uids) {
  Orvane::PdmSoa::registry().refused = {uids.begin(), uids.end()};
}
Orvane::PdmSoa::VirelmgrModelObject* registered_instance(const std::string& uid) {
  auto& objects = Orvane::PdmSoa::registry().objects;
  auto it = objects.find(uid);
  return it == objects.end() ? nullptr : it->second.get();
}
const std::vector<std::string>& instance_requests() { return Orvane::PdmSoa::registry().asked; }
void fail_construction(std::vector<std::string> uids) {
  Orvane::PdmSoa::registry().unbuildable = {uids.begin(), uids.end()};
}
void reset_instances() { Orvane::PdmSoa::registry() = {}; }
}  // namespace cadlink::testing
