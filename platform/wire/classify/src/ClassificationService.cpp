#include "halden/services/classification/ClassificationService.h"

#include "halden/server/ClassificationStub.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Classification {

namespace Wire = Soa::Server;
using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::objectsOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
using Soa::Client::Internal::uidsOf;

namespace {

constexpr const char* kService = "Classification-2007-01-Classification";

std::vector<ClassTriple> triples_of(const std::vector<Wire::ClassTriple>& wire) {
  std::vector<ClassTriple> out;
  out.reserve(wire.size());
  for (const auto& t : wire) out.push_back({t.text1, t.text2, t.text3});
  return out;
}

ClassRecord class_of(const Wire::ClassRecord& w) {
  ClassRecord r;
  r.text1 = w.text1;
  r.text2 = w.text2;
  r.text3 = w.text3;
  r.text4 = w.text4;
  r.text5 = w.text5;
  r.flag1 = w.flag1;
  r.flag2 = w.flag2;
  r.flag3 = w.flag3;
  r.text6 = w.text6;
  r.text7 = w.text7;
  r.int1 = w.int1;
  r.int2 = w.int2;
  r.int3 = w.int3;
  r.triples = triples_of(w.triples);
  return r;
}

AttributeFormat format_of(const Wire::AttributeFormatRecord& w) { return {w.int1, w.int2, w.int3, w.int4}; }

AttributeRecord attribute_of(const Wire::AttributeRecord& w) {
  AttributeRecord a;
  a.id = w.id;
  a.text1 = w.text1;
  a.text2 = w.text2;
  a.text3 = w.text3;
  a.format1 = format_of(w.format1);
  a.format2 = format_of(w.format2);
  a.text4 = w.text4;
  a.text5 = w.text5;
  a.text6 = w.text6;
  a.text7 = w.text7;
  a.text8 = w.text8;
  a.int1 = w.int1;
  a.int2 = w.int2;
  a.text9 = w.text9;
  a.text10 = w.text10;
  a.text11 = w.text11;
  return a;
}

std::vector<Wire::ClassificationObjectData> wire_records_of(const std::vector<ClassificationObjectRecord>& records) {
  std::vector<Wire::ClassificationObjectData> out;
  out.reserve(records.size());
  for (const auto& r : records) {
    Wire::ClassificationObjectData w;
    w.object_uid = uidOf(r.classificationObject);
    w.text1 = r.text1;
    w.text2 = r.text2;
    w.code = r.code;
    w.workspace_object_uid = uidOf(r.workspaceObject);
    w.values.reserve(r.values.size());
    for (const auto& v : r.values) w.values.push_back({v.attributeId, v.pairs});
    out.push_back(std::move(w));
  }
  return out;
}

ObjectListsResponse object_lists_of(Soa::Client::Connection& connection, const Wire::ObjectListsReply& reply) {
  ObjectListsResponse out;
  out.serviceData = absorb(connection, reply.data);
  auto& models = *connection.getModelManager();
  for (const auto& [key, uids] : reply.objects) out.objects[key] = objectsOf(models, uids);
  return out;
}

template <class Call>
auto send(Soa::Client::Connection& connection, const char* operation, Call&& call) {
  return invoke(connection, kService, operation,
                [&](Wire::Server& server) { return call(require<Wire::ClassificationStub>(server, kService)); });
}

}  // namespace

ClassificationService* ClassificationService::getService(Soa::Client::Connection* connection) {
  return Soa::Client::Internal::serviceOf<ClassificationService>(connection, kService);
}

ServiceData ClassificationService::writeClassificationObjects(const std::vector<ClassificationObjectRecord>& records) {
  const auto wire = wire_records_of(records);
  auto reply = send(*connection_, "writeClassificationObjects",
                    [&](Wire::ClassificationStub& stub) { return stub.writeClassificationObjects(wire); });
  return absorb(*connection_, reply);
}

ServiceData ClassificationService::writeClassificationObjects2(const std::vector<ClassificationObjectRecord>& records) {
  const auto wire = wire_records_of(records);
  auto reply = send(*connection_, "writeClassificationObjects2",
                    [&](Wire::ClassificationStub& stub) { return stub.writeClassificationObjects2(wire); });
  return absorb(*connection_, reply);
}

ServiceData ClassificationService::sendClassificationObjects(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = send(*connection_, "sendClassificationObjects",
                    [&](Wire::ClassificationStub& stub) { return stub.sendClassificationObjects(uids); });
  return absorb(*connection_, reply);
}

GetClassesResponse ClassificationService::getClasses(const std::vector<std::string>& classIds) {
  auto reply =
      send(*connection_, "getClasses", [&](Wire::ClassificationStub& stub) { return stub.getClasses(classIds); });
  GetClassesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [id, record] : reply.classes) out.classes.emplace(id, class_of(record));
  return out;
}

GetClassDescriptionsResponse ClassificationService::getClassDescriptions(const std::vector<std::string>& classIds) {
  auto reply = send(*connection_, "getClassDescriptions",
                    [&](Wire::ClassificationStub& stub) { return stub.getClassDescriptions(classIds); });
  GetClassDescriptionsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [id, descriptions] : reply.descriptions) {
    auto& list = out.descriptions[id];
    list.reserve(descriptions.size());
    for (const auto& d : descriptions)
      list.push_back({d.text1, d.class_type, d.text3, d.text4, d.int1, d.int2, d.int3, triples_of(d.triples)});
  }
  return out;
}

GetClassificationTableResponse ClassificationService::getClassificationTable(const std::vector<std::string>& keys) {
  auto reply = send(*connection_, "getClassificationTable",
                    [&](Wire::ClassificationStub& stub) { return stub.getClassificationTable(keys); });
  GetClassificationTableResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.table = std::move(reply.table);
  return out;
}

ObjectListsResponse ClassificationService::getObjectsOfIds(const std::vector<std::string>& classIds) {
  auto reply = send(*connection_, "getObjectsOfIds",
                    [&](Wire::ClassificationStub& stub) { return stub.getObjectsOfIds(classIds); });
  return object_lists_of(*connection_, reply);
}

GetAttributesResponse ClassificationService::getAttributes(const std::vector<std::string>& classIds) {
  auto reply =
      send(*connection_, "getAttributes", [&](Wire::ClassificationStub& stub) { return stub.getAttributes(classIds); });
  GetAttributesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [id, attributes] : reply.attributes) {
    auto& list = out.attributes[id];
    list.reserve(attributes.size());
    for (const auto& a : attributes) list.push_back(attribute_of(a));
  }
  return out;
}

SearchClassesResponse ClassificationService::searchClasses(const std::vector<ClassQuery>& queries) {
  std::vector<Wire::ClassQueryRecord> wire;
  wire.reserve(queries.size());
  for (const auto& q : queries) wire.push_back({q.code1, q.text, q.code2});
  auto reply =
      send(*connection_, "searchClasses", [&](Wire::ClassificationStub& stub) { return stub.searchClasses(wire); });
  SearchClassesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [position, records] : reply.classes) {
    auto& list = out.classes[position];
    list.reserve(records.size());
    for (const auto& r : records) list.push_back(class_of(r));
  }
  return out;
}

ObjectListsResponse ClassificationService::searchClassificationObjects(const std::vector<ObjectSearchInput>& inputs) {
  std::vector<Wire::ObjectSearchRecord> wire;
  wire.reserve(inputs.size());
  for (const auto& i : inputs) wire.push_back({i.texts, i.attributes, i.value});
  auto reply = send(*connection_, "searchClassificationObjects",
                    [&](Wire::ClassificationStub& stub) { return stub.searchClassificationObjects(wire); });
  return object_lists_of(*connection_, reply);
}

GetPomObjectsResponse ClassificationService::getPomObjects(const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply =
      send(*connection_, "getPomObjects", [&](Wire::ClassificationStub& stub) { return stub.getPomObjects(uids); });
  GetPomObjectsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  out.objects = objectsOf(*connection_->getModelManager(), reply.objects);
  return out;
}

GetClassificationsOfObjectsResponse ClassificationService::getClassificationsOfObjects(
    const std::vector<ModelObject*>& workspaceObjects) {
  const auto uids = uidsOf(workspaceObjects);
  auto reply = send(*connection_, "getClassificationsOfObjects",
                    [&](Wire::ClassificationStub& stub) { return stub.getClassificationsOfObjects(uids); });
  GetClassificationsOfObjectsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [uid, classifications] : reply.objects)
    if (ModelObject* key = objectOf(models, uid)) out.classifications[key] = objectsOf(models, classifications);
  return out;
}

ObjectListsResponse ClassificationService::getClassificationObjectsByKey(const std::vector<std::string>& keys) {
  auto reply = send(*connection_, "getClassificationObjectsByKey",
                    [&](Wire::ClassificationStub& stub) { return stub.getClassificationObjectsByKey(keys); });
  return object_lists_of(*connection_, reply);
}

GetClassificationObjectDataResponse ClassificationService::getClassificationObjectData(
    const std::vector<ModelObject*>& objects) {
  const auto uids = uidsOf(objects);
  auto reply = send(*connection_, "getClassificationObjectData",
                    [&](Wire::ClassificationStub& stub) { return stub.getClassificationObjectData(uids); });
  GetClassificationObjectDataResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  for (const auto& [uid, w] : reply.records) {
    ModelObject* key = objectOf(models, uid);
    if (!key) continue;
    ClassificationObjectRecord r;
    r.classificationObject = objectOf(models, w.object_uid);
    r.text1 = w.text1;
    r.text2 = w.text2;
    r.code = w.code;
    r.workspaceObject = objectOf(models, w.workspace_object_uid);
    r.values.reserve(w.values.size());
    for (const auto& v : w.values) r.values.push_back({v.attribute_id, v.pairs});
    out.records[key] = std::move(r);
  }
  return out;
}

GetValueTablesResponse ClassificationService::getValueTables(const std::vector<std::string>& ids) {
  auto reply =
      send(*connection_, "getValueTables", [&](Wire::ClassificationStub& stub) { return stub.getValueTables(ids); });
  GetValueTablesResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  for (const auto& [id, t] : reply.tables) out.tables[id] = {t.text, t.value, t.entries};
  return out;
}

}  // namespace Halden::Services::Classification
