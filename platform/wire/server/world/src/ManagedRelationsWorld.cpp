#include "halden/server/world/ManagedRelationsWorld.h"

#include <unordered_set>

namespace Halden::Soa::Server {

namespace {
const std::vector<std::string> kTracelinkTypes = {"Tracelink", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kRelationTypes = {"FND_TraceLink", "ImanRelation", "POM_object"};
constexpr const char* kFullTextRelation = "IMAN_specification";
}  // namespace

void ManagedRelationsWorld::populate() {
  add_requirement("root", "Vehicle safety");
  add_requirement("brake", "Braking");
  add_requirement("stop", "Stopping distance");
  add_link("root-brake", "req-root", "req-brake", "Safety needs braking");
  add_link("brake-stop", "req-brake", "req-stop", "Braking sets the stopping distance");
  add_link("brake-wheel", "req-brake", "item-K-1200", "The wheel assembly brakes");
  add_full_text("brake", "req-brake");
  add_full_text("stop", "req-stop");
}

bool ManagedRelationsWorld::is_2007() const {
  const std::string& version = session_.server_version();
  return version.rfind("V2007", 0) == 0 || version.rfind("P2007", 0) == 0;
}

std::string ManagedRelationsWorld::add_requirement(const std::string& key, const std::string& name) {
  const std::string uid = "req-" + key;
  store_.add_object(uid, {"Requirement", "WorkspaceObject", "POM_object"},
                    {props::str("object_name", name), props::str("object_type", "Requirement")});
  return uid;
}

std::string ManagedRelationsWorld::add_full_text(const std::string& key, const std::string& object_uid,
                                                 const std::string& type) {
  const std::string uid = "fulltext-" + key;
  store_.add_object(uid, {type, "WorkspaceObject", "POM_object"},
                    {props::str("object_name", key + " text"), props::str("object_type", type)});
  auto* object = store_.find(object_uid);
  auto& relation = object->properties[kFullTextRelation];
  if (relation.name.empty()) relation = props::refs(kFullTextRelation, {});
  relation.references.push_back(uid);
  return uid;
}

std::string ManagedRelationsWorld::add_link(const std::string& key, const std::string& primary_uid,
                                            const std::string& secondary_uid, const std::string& name) {
  store_.add_object("tracelink-" + key, kTracelinkTypes,
                    {props::str("object_name", name), props::str("object_type", "Tracelink"),
                     props::ref("primary_object", primary_uid), props::ref("secondary_object", secondary_uid)});
  store_.add_object("fndlink-" + key, kRelationTypes,
                    {props::str("relation_type", "FND_TraceLink"), props::ref("primary_object", primary_uid),
                     props::ref("secondary_object", secondary_uid)});
  links_.push_back({key, primary_uid, secondary_uid});
  return link_uid(key);
}

std::string ManagedRelationsWorld::link_uid(const std::string& key) const {
  return (is_2007() ? "tracelink-" : "fndlink-") + key;
}

std::string ManagedRelationsWorld::uid_of(const Link& link) const { return link_uid(link.key); }

std::vector<std::string> ManagedRelationsWorld::secondaries_of(const std::string& uid,
                                                               const std::string& relation) const {
  std::vector<std::string> uids;
  const auto* object = store_.find(uid);
  if (!object) return uids;
  for (const auto& [name, property] : object->properties)
    if (property.type == ValueType::Reference && (relation.empty() || relation == name))
      for (const auto& reference : property.references)
        if (!reference.empty()) uids.push_back(reference);
  return uids;
}

std::vector<std::string> ManagedRelationsWorld::add_nodes(std::vector<TraceTreeNodeRecord>& tree,
                                                          const std::string& uid, bool defining) const {
  TraceTreeNodeRecord node{uid, {}};
  std::vector<const Link*> links;
  for (const auto& link : links_)
    if ((defining ? link.secondary : link.primary) == uid && store_.find(uid_of(link))) {
      node.child_uids.push_back(uid_of(link));
      links.push_back(&link);
    }
  std::vector<std::string> far_ends;
  if (links.empty()) return far_ends;
  tree.push_back(std::move(node));
  for (const Link* link : links) {
    const std::string& far_end = defining ? link->primary : link->secondary;
    tree.push_back({uid_of(*link), {far_end}});
    far_ends.push_back(far_end);
  }
  return far_ends;
}

TraceReportReply ManagedRelationsWorld::getTraceReport(const TraceReportRequest& request) {
  TraceReportReply reply;
  const bool defining = request.kind == "Defining";
  auto& direct = defining ? reply.defining : reply.complying;
  auto& indirect = defining ? reply.indirect_defining : reply.indirect_complying;
  for (const auto& far_end : add_nodes(direct, request.object_uid, defining)) add_nodes(indirect, far_end, defining);

  UidList carried;
  for (const auto* tree : {&reply.defining, &reply.indirect_defining, &reply.complying, &reply.indirect_complying})
    for (const auto& node : *tree) {
      carried.add(node.parent_uid);
      carried.add(node.child_uids);
    }
  reply.data = store_.reply_with(carried.uids());
  return reply;
}

CreatedObjectsReply ManagedRelationsWorld::createTraceLink(const std::vector<TraceLinkCreateRecord>& records) {
  CreatedObjectsReply reply;
  for (const auto& record : records) {
    const std::size_t n = std::min(record.primary_uids.size(), record.secondary_uids.size());
    for (std::size_t i = 0; i < n; ++i) {
      const auto& primary = record.primary_uids[i];
      const auto& secondary = record.secondary_uids[i];
      if (!store_.find(primary) || !store_.find(secondary)) {
        reply.data.errors.push_back(WorldStore::not_found(store_.find(primary) ? secondary : primary));
        continue;
      }
      const std::string key = "new-" + std::to_string(++created_);
      add_link(key, primary, secondary, record.text1);
      store_.set_property("tracelink-" + key, props::str("object_desc", record.text2));
      reply.objects.push_back("tracelink-" + key);
    }
  }
  const auto carried = store_.reply_with(reply.objects);
  reply.data.objects = carried.objects;
  reply.data.created = reply.objects;
  return reply;
}

WireServiceData ManagedRelationsWorld::modifyTraceLink(const std::vector<TraceLinkModifyRecord>& records) {
  WireServiceData data;
  for (const auto& record : records) {
    if (!store_.find(record.link_uid)) {
      data.errors.push_back(WorldStore::not_found(record.link_uid));
      continue;
    }
    modified_.push_back(record);
    data.updated.push_back(record.link_uid);
  }
  data.objects = store_.reply_with(data.updated).objects;
  return data;
}

}  // namespace Halden::Soa::Server
