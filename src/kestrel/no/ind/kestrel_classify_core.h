// The classification work both builds share: the requests, the code rules
// and the filling of host classes from the service's records. Free of host
// classes and of property policies; the host class is a template parameter
// wherever a build's class differs.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "halden/services/classification/ClassificationService.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/model/ModelClasses.h"
#include "kestrel/kestrel_types.h"
#include "kestrel_scoped.h"

namespace kestrel::classify {

namespace svc = Halden::Services::Classification;
using ServerObject = Halden::Soa::Client::ModelObject;

// A class search sends its codes as given when they lie in 1 to 8.
inline int limit_search_code(int code) { return code >= 1 && code <= 8 ? code : 0; }

// Classification object codes, both ways: 1 and 2 stay, anything else is 0.
inline int map_object_code(int code) { return code == 1 || code == 2 ? code : 0; }

std::vector<svc::ClassQuery> class_search_request(const std::vector<ClassQuery>& queries);
std::vector<svc::ObjectSearchInput> object_search_request(const std::vector<ClassificationObjectQuery>& queries);

// One load request per UID, as the service expects them; null answers stay
// in their place.
std::vector<ServerObject*> load_each(Halden::Soa::Client::ModelManager& models, const std::vector<std::string>& uids);

// The server objects of the UIDs kept where they are workspace objects, null
// elsewhere, one load request per UID.
std::vector<ServerObject*> load_workspace_objects(Halden::Soa::Client::ModelManager& models,
                                                  const std::vector<std::string>& uids);

template <class Class>
Class* make_class(const std::string& id, const std::string& name) {
  return build_on_cpp_memory<Class>(id, name, nullptr);
}

// One host object per server object of a reply list, in reply order. A null
// of the reply has nothing to ask the host for; a null answer of the host
// stays in its place.
template <class Make>
std::vector<std::invoke_result_t<Make&, ServerObject*>> hosts_of(const std::vector<ServerObject*>& objects, Make make) {
  std::vector<std::invoke_result_t<Make&, ServerObject*>> list;
  list.reserve(objects.size());
  for (ServerObject* object : objects)
    if (object) list.push_back(make(object));
  return list;
}

template <class Triples>
void copy_triples(Triples& out, const std::vector<svc::ClassTriple>& triples) {
  out.clear();
  out.reserve(triples.size());
  for (const auto& t : triples) out.push_back({t.text1, t.text2, t.text3});
}

// A class from the class operation (slot 39) or the class search (slot 44,
// where the fourth text repeats the third and the record's fourth is unused).
template <class Class>
void fill_class(Class& c, const svc::ClassRecord& r, bool from_search) {
  c.text1 = r.text1;
  c.text2 = r.text2;
  c.text3 = r.text3;
  c.text4 = from_search ? r.text3 : r.text4;
  c.text5 = r.text5;
  c.text6 = r.text6;
  c.text7 = r.text7;
  if (r.flag1) c.kind = r.flag3 ? 0 : r.flag2 ? 1 : 2;
  c.int1 = r.int1;
  c.int2 = r.int2;
  c.int3 = r.int3;
  copy_triples(c.triples, r.triples);
}

// A class from a class description (slot 40). The fourth text repeats the
// third, as the host has always read it.
template <class Class>
void fill_class(Class& c, const std::string& class_id, const svc::ClassDescription& d) {
  c.text1 = d.text1;
  c.text2 = class_id;
  c.text3 = d.text3;
  c.text4 = d.text3;
  c.text5 = d.text4;
  c.text6.clear();
  c.text7.clear();
  c.SetClassType(d.classType);
  c.int1 = d.int1;
  c.int2 = d.int2;
  c.int3 = d.int3;
  copy_triples(c.triples, d.triples);
}

template <class Format>
Format format_of(const svc::AttributeFormat& f) {
  Format out;
  out.int1 = f.int1;
  out.int2 = f.int2;
  out.int3 = f.int3;
  out.int4 = f.int4;
  return out;
}

template <class Attribute>
Attribute attribute_of(const svc::AttributeRecord& r) {
  Attribute a;
  a.id = r.id;
  a.text1 = r.text1;
  a.text2 = r.text2;
  a.text3 = r.text3;
  a.format1 = format_of<decltype(a.format1)>(r.format1);
  a.format2 = format_of<decltype(a.format2)>(r.format2);
  a.text4 = r.text4;
  a.text5 = r.text5;
  a.text6 = r.text6;
  a.text7 = r.text7;
  a.text8 = r.text8;
  a.int1 = r.int1;
  a.int2 = r.int2;
  a.text9 = r.text9;
  a.text10 = r.text10;
  a.text11 = r.text11;
  return a;
}

// Texts, code and values of a host classification object from its record;
// each build sets the workspace object its own way.
template <class Object>
void fill_object_data(Object& o, const svc::ClassificationObjectRecord& r) {
  o.text1 = r.text1;
  o.text2 = r.text2;
  o.code = map_object_code(r.code);
  o.values.clear();
  o.values.reserve(r.values.size());
  for (const auto& v : r.values) {
    typename decltype(o.values)::value_type value;
    value.attribute_id = v.attributeId;
    value.pairs = v.pairs;
    o.values.push_back(std::move(value));
  }
}

// ---- replies into the host's results. An id or UID asked twice keeps what
// its first occurrence built and builds nothing more.

// Classes by id (slot 39): one class per id, constructed with the id, filled
// where the reply holds the id.
template <class Class>
std::unique_ptr<std::map<std::string, Class*>> classes_by_id(const std::vector<std::string>& ids,
                                                             const svc::GetClassesResponse& reply) {
  auto result = std::make_unique<std::map<std::string, Class*>>();
  for (const auto& id : ids) {
    auto [slot, fresh] = result->try_emplace(id, nullptr);
    if (!fresh) continue;
    slot->second = make_class<Class>(id, "");
    auto it = reply.classes.find(id);
    if (it != reply.classes.end()) fill_class(*slot->second, it->second, false);
  }
  return result;
}

// Class descriptions (slot 40): every id gets a list, empty where the reply
// does not hold the id.
template <class Class>
std::unique_ptr<std::map<std::string, std::vector<Class*>>> descriptions_by_id(
    const std::vector<std::string>& ids, const svc::GetClassDescriptionsResponse& reply) {
  auto result = std::make_unique<std::map<std::string, std::vector<Class*>>>();
  for (const auto& id : ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;
    auto it = reply.descriptions.find(id);
    if (it == reply.descriptions.end()) continue;
    auto& list = slot->second;
    list.reserve(it->second.size());
    for (const auto& description : it->second) {
      list.push_back(make_class<Class>("classid", ""));
      fill_class(*list.back(), id, description);
    }
  }
  return result;
}

// Objects by id (slot 42): every id gets a list, empty where the reply does
// not hold the id.
template <class Make>
auto objects_by_id(const std::vector<std::string>& ids, const svc::ObjectListsResponse& reply, Make make) {
  auto result = std::make_unique<std::map<std::string, std::vector<std::invoke_result_t<Make&, ServerObject*>>>>();
  for (const auto& id : ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;
    auto it = reply.objects.find(id);
    if (it != reply.objects.end()) slot->second = hosts_of(it->second, make);
  }
  return result;
}

// Class attributes (slot 43): every id gets a list, empty where the reply
// does not hold the id.
template <class Attribute>
std::unique_ptr<std::map<std::string, std::vector<Attribute>>> attributes_by_id(
    const std::vector<std::string>& ids, const svc::GetAttributesResponse& reply) {
  auto result = std::make_unique<std::map<std::string, std::vector<Attribute>>>();
  for (const auto& id : ids) {
    auto [slot, fresh] = result->try_emplace(id);
    if (!fresh) continue;
    auto it = reply.attributes.find(id);
    if (it == reply.attributes.end()) continue;
    slot->second.reserve(it->second.size());
    for (const auto& record : it->second) slot->second.push_back(attribute_of<Attribute>(record));
  }
  return result;
}

// The class search (slot 44): the classes of each query, in query order.
template <class Class>
std::unique_ptr<std::vector<Class*>> found_classes(std::size_t query_count, const svc::SearchClassesResponse& reply) {
  auto result = std::make_unique<std::vector<Class*>>();
  for (int i = 0; i < static_cast<int>(query_count); ++i) {
    auto it = reply.classes.find(i);
    if (it == reply.classes.end()) continue;
    for (const auto& record : it->second) {
      result->push_back(make_class<Class>("classid", ""));
      fill_class(*result->back(), record, true);
    }
  }
  return result;
}

// Every object of every list of the reply, in key order then list order, in
// one list (slot 45).
template <class Make>
auto objects_of_lists(const svc::ObjectListsResponse& reply, Make make) {
  auto result = std::make_unique<std::vector<std::invoke_result_t<Make&, ServerObject*>>>();
  for (const auto& [key, objects] : reply.objects)
    for (ServerObject* object : objects)
      if (object) result->push_back(make(object));
  return result;
}

// Value tables (slot 51), for the ids the reply holds.
std::unique_ptr<std::map<std::string, ClassificationValueTable>> value_tables_of(
    const std::vector<std::string>& ids, const svc::GetValueTablesResponse& reply);

// The classification objects of an object-data reply as host objects, for
// the objects asked in their order, under the classification object's UID.
// `construct` answers the host object of a UID, or null to skip the record;
// `set_workspace` gives it the record's workspace object (null for none).
template <class Object, class Construct, class SetWorkspace>
void fill_classification_objects(const std::vector<ServerObject*>& objects,
                                 const svc::GetClassificationObjectDataResponse& reply,
                                 std::map<std::string, Object*>& result, Construct construct,
                                 SetWorkspace set_workspace) {
  for (ServerObject* object : objects) {
    if (!object) continue;
    auto it = reply.records.find(object);
    if (it == reply.records.end() || !it->second.classificationObject) continue;
    const std::string& uid = it->second.classificationObject->getUid();
    auto at = result.lower_bound(uid);
    if (at != result.end() && at->first == uid) continue;
    Object* host = construct(uid);
    if (!host) continue;
    fill_object_data(*host, it->second);
    set_workspace(*host, it->second.workspaceObject);
    result.emplace_hint(at, uid, host);
  }
}

// The write record of a host classification object.
template <class Object>
svc::ClassificationObjectRecord record_of(const Object& o, ServerObject* object, ServerObject* workspace_object) {
  svc::ClassificationObjectRecord r;
  r.classificationObject = object;
  r.text1 = o.text1;
  r.text2 = o.text2;
  r.code = map_object_code(o.code);
  r.workspaceObject = workspace_object;
  r.values.reserve(o.values.size());
  for (const auto& v : o.values) r.values.push_back({v.attribute_id, v.pairs});
  return r;
}

// The write records of host classification objects (slots 36, 37), none of
// them null: each object's server object loaded by its UID, its workspace
// object found by UID and kept when it is a workspace object. `uid_of` gives
// the UID text of a host object, `workspace_of` the host workspace object of
// a classification object, or null.
template <class Object, class UidOf, class WorkspaceOf>
std::vector<svc::ClassificationObjectRecord> write_records(Halden::Soa::Client::ModelManager& models,
                                                           const std::vector<Object*>& objects, UidOf uid_of,
                                                           WorkspaceOf workspace_of) {
  std::vector<svc::ClassificationObjectRecord> records;
  records.reserve(objects.size());
  for (const Object* object : objects) {
    ServerObject* server_object = models.loadObjects(uid_of(*object));
    ServerObject* workspace = nullptr;
    if (const auto* host_workspace = workspace_of(*object))
      workspace =
          dynamic_cast<Halden::Soa::Client::Model::WorkspaceObject*>(models.findObject(uid_of(*host_workspace)));
    records.push_back(record_of(*object, server_object, workspace));
  }
  return records;
}

}  // namespace kestrel::classify
