// The classification work both builds share: the requests, the code rules
// and the filling of host classes from the service's records. Free of host
// classes and of property policies; the host class is a template parameter
// wherever a build's class differs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "corerun/memory.h"
#include "halden/services/classification/ClassificationService.h"
#include "halden/soa/client/ModelManager.h"
#include "kestrel/kestrel_types.h"

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

// A host class built on CppMemory memory, as the host's classes expect.
template <class Class>
Class* make_class(const std::string& id, const std::string& name) {
  void* memory = Orvane::Memory::CppMemory::allocate(sizeof(Class));
  try {
    return new (memory) Class(id, name, nullptr);
  } catch (...) {
    Orvane::Memory::CppMemory::free(memory);
    throw;
  }
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

}  // namespace kestrel::classify
