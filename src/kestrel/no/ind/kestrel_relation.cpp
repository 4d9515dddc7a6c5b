#include "kestrel_relation.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/ustring.h"
#include "halden/services/core/DatamanagementService.h"
#include "halden/services/core/ManagedrelationsService.h"
#include "halden/services/core/SessionService.h"
#include "halden/services/internal/core/DatamanagementService.h"
#include "halden/services/requirementsmanagement/RequirementsmanagementService.h"
#include "kestrel_call.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

using Halden::Services::Core::ManagedrelationsService;
using Halden::Services::Core::SessionService;
using Halden::Services::Core::TraceTreeNode;
using Halden::Services::Requirementsmanagement::RequirementsmanagementService;
using HostObject = Orvane::PdmSoa::ModelObject;
using ServerObject = Halden::Soa::Client::ModelObject;
using Tree = std::vector<TraceTreeNode>;
namespace InternalCore = Halden::Services::Internal::Core;

namespace {

// The probe: unasked at load, then answered for the life of the process.
bool server_version_unprobed = true;
bool server_version_2007 = false;

bool begins_with(const std::string& text, const char* prefix) { return text.find(prefix) == 0; }

HostObject* wrap(ServerObject* object) {
  return object ? Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObject(object) : nullptr;
}

std::string uid_of(const ServerObject* object) { return object ? object->getUid() : std::string(); }

// The server object behind the input of a report or a link change.
enum class Input { report, link };
ServerObject* input_server_object(HostObject* object, const char* entry, Input input) {
  if (!object) KESTREL_RAISE(940208, "KRAL SOA: Null object in %s", entry);
  ServerObject* server_object = object->GetObjectPtr();
  if (server_object) return server_object;
  const std::string uid = UStringToString(object->GetUid());
  if (input == Input::report)
    KESTREL_RAISE(940209, "KRAL SOA: No SOA object could be constructed for input uid %s", uid.c_str());
  // "could constructed" is the text support engineers know this entry by.
  KESTREL_RAISE(940209, "KRAL SOA: No SOA object could constructed for input uid %s", uid.c_str());
}

Halden::Services::Core::TraceReportResponse trace_report(ServerObject* object, const char* kind, bool with_policy) {
  const Halden::Services::Core::TraceReportInput input{object, kind, 1};
  auto call = [&](ManagedrelationsService& service) { return service.getTraceReport(input); };
  if (with_policy) return kestrel::soa_request<ManagedrelationsService>(KESTREL_HERE, call);
  return kestrel::soa_request_without_policy<ManagedrelationsService>(KESTREL_HERE, call);
}

// Whether a child of a report tree is a trace link of the server's generation.
bool is_trace_link(ServerObject* child) {
  HostObject* host = wrap(child);
  if (kestrel::is_server_version_2007())
    return host && STR_compare_i(child->getType()->getName().c_str(), "Tracelink") == 0;
  return dynamic_cast<Orvane::PdmSoa::Relation*>(Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectAsClass(
             child, Orvane::PdmSoa::Relation::AskClassName())) != nullptr;
}

using End = HostObject* TraceLinkEntry::*;

// The second pass: a node whose parent is an entry's link gives that entry
// its far end, the node's first child. The first entry of a link takes it.
void fill_far_ends(std::vector<TraceLinkEntry>& entries, const Tree& tree, End far_end) {
  std::unordered_map<std::string, std::size_t> by_link;
  by_link.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) by_link.emplace(UStringToString(entries[i].link->GetUid()), i);
  for (const TraceTreeNode& node : tree) {
    if (!node.parent || node.children.empty()) continue;
    auto it = by_link.find(node.parent->getUid());
    if (it != by_link.end()) entries[it->second].*far_end = wrap(node.children.front());
  }
}

// Slots 103 and 104: the links among the children of the tree's nodes, the
// node's parent at the near end, then the far ends.
std::vector<TraceLinkEntry>* linked_objects(HostObject* object, const char* entry, const char* kind, bool complying) {
  ServerObject* server_object = input_server_object(object, entry, Input::report);
  const auto report = trace_report(server_object, kind, false);
  const Tree& tree = complying ? report.complyingTree : report.definingTree;
  const End near_end = complying ? &TraceLinkEntry::defining : &TraceLinkEntry::complying;
  const End far_end = complying ? &TraceLinkEntry::complying : &TraceLinkEntry::defining;

  auto entries = std::make_unique<std::vector<TraceLinkEntry>>();
  for (const TraceTreeNode& node : tree) {
    if (!node.parent) continue;
    for (ServerObject* child : node.children) {
      if (!child || !is_trace_link(child)) continue;
      TraceLinkEntry link_entry;
      link_entry.link = wrap(child);
      link_entry.*near_end = wrap(node.parent);
      entries->push_back(link_entry);
    }
  }
  fill_far_ends(*entries, tree, far_end);
  return entries.release();
}

void dump_tree(const char* name, const Tree& tree) {
  ERROR_lprintf("\n+++ %s size: %d", name, static_cast<int>(tree.size()));
  for (std::size_t i = 0; i < tree.size(); ++i) {
    ERROR_lprintf("\n+++ No.%d %s: parentUid = %s\n", static_cast<int>(i), name, uid_of(tree[i].parent).c_str());
    for (std::size_t j = 0; j < tree[i].children.size(); ++j)
      ERROR_lprintf("\n+++ childUid[%d] = %s\n", static_cast<int>(j), uid_of(tree[i].children[j]).c_str());
  }
  ERROR_lprintf("\n+++ End %s\n", name);
}

void remove_trace_link(ServerObject* link);

}  // namespace

namespace kestrel {

bool is_version_2007(const std::string& version) {
  return begins_with(version, "V2007") || begins_with(version, "P2007");
}

bool is_server_version_2007() {
  if (!server_version_unprobed) return server_version_2007;
  // No property policy and no catch clauses: framework exceptions reach the
  // caller, and the probe stays unasked.
  const std::string version = soa_request_on<SessionService>(
      require_connection(KESTREL_HERE), [](SessionService& session) { return session.getSessionInfo().serverVersion; });
  ERROR_lprintf("Halden Integration: Server version: %s\n", version.c_str());
  server_version_2007 = is_version_2007(version);
  server_version_unprobed = false;
  return server_version_2007;
}

std::vector<ServerObject*> get_server_objects(const std::vector<HostObject*>& objects, const char* entry) {
  kestrel::require_no_nulls(KESTREL_HERE, objects, entry);
  auto* models = get_model_manager();
  std::vector<ServerObject*> server_objects;
  server_objects.reserve(objects.size());
  for (const HostObject* object : objects) {
    const std::string uid = UStringToString(object->GetUid());
    ServerObject* server_object = models->findObject(uid);
    if (!server_object)
      KESTREL_RAISE(940205, "KRAL SOA: No SOA object found for Virel/Mgr object with UID %s\n", uid.c_str());
    server_objects.push_back(server_object);
  }
  return server_objects;
}

}  // namespace kestrel

std::vector<TraceLinkEntry>* KESTREL_ask_defining_tree(Orvane::PdmSoa::ModelObject* object) {
  ServerObject* server_object = input_server_object(object, "KESTREL_ask_defining_tree", Input::report);
  const auto report = trace_report(server_object, "Defining", true);

  if (kestrel::debug_enabled("CHECK_REQ")) {
    dump_tree("definingTree", report.definingTree);
    dump_tree("indirectDefiningTree", report.indirectDefiningTree);
    dump_tree("complyingTree", report.complyingTree);
    dump_tree("indirectComplyingTree", report.indirectComplyingTree);
  }

  auto entries = std::make_unique<std::vector<TraceLinkEntry>>();
  auto add_links_of = [&](const TraceTreeNode& node) {
    for (ServerObject* child : node.children) {
      if (!child) continue;
      TraceLinkEntry entry;
      entry.link = wrap(child);
      entry.complying = wrap(node.parent);
      entries->push_back(entry);
    }
  };
  const std::string uid = UStringToString(object->GetUid());
  for (const TraceTreeNode& node : report.definingTree)
    if (node.parent && node.parent->getUid() == uid) add_links_of(node);
  for (const TraceTreeNode& node : report.indirectDefiningTree)
    if (node.parent) add_links_of(node);
  fill_far_ends(*entries, report.definingTree, &TraceLinkEntry::defining);
  return entries.release();
}

std::vector<TraceLinkEntry>* KESTREL_ask_defining_objects(Orvane::PdmSoa::ModelObject* object) {
  return linked_objects(object, "KESTREL_ask_defining_objects", "Defining", false);
}

std::vector<TraceLinkEntry>* KESTREL_ask_complying_objects(Orvane::PdmSoa::ModelObject* object) {
  return linked_objects(object, "KESTREL_ask_complying_objects", "Complying", true);
}

std::vector<Orvane::PdmSoa::ModelObject*>* KESTREL_create_trace_links(
    const std::string& text1, const std::string& text2, const std::vector<Orvane::PdmSoa::ModelObject*>& primaries,
    const std::vector<Orvane::PdmSoa::ModelObject*>& secondaries) {
  const auto primary_objects = kestrel::get_server_objects(primaries, "KESTREL_create_trace_links");
  const auto secondary_objects = kestrel::get_server_objects(secondaries, "KESTREL_create_trace_links");
  auto links = std::make_unique<std::vector<HostObject*>>();

  if (kestrel::is_server_version_2007()) {
    const std::vector<Halden::Services::Core::TraceLinkCreateInput> inputs = {
        {text1, text2, primary_objects, secondary_objects}};
    auto reply = kestrel::soa_request<ManagedrelationsService>(
        KESTREL_HERE, [&](ManagedrelationsService& service) { return service.createTraceLink(inputs); });
    links->reserve(reply.output.size());
    for (ServerObject* created : reply.output)
      if (created) links->push_back(wrap(created));
    return links.release();
  }

  if (secondary_objects.size() < primary_objects.size())
    KESTREL_RAISE(940208, "KRAL SOA: %d primaries but only %d secondaries in KESTREL_create_trace_links",
                  static_cast<int>(primary_objects.size()), static_cast<int>(secondary_objects.size()));
  std::vector<InternalCore::CreateRelationsInput> inputs;
  inputs.reserve(primary_objects.size());
  for (std::size_t i = 0; i < primary_objects.size(); ++i) {
    const kestrel::SmString client_id(SM_sprintf("%d", static_cast<int>(i)));
    inputs.push_back({client_id.get(), "FND_TraceLink", primary_objects[i], secondary_objects[i], nullptr});
  }
  auto reply = kestrel::soa_request<InternalCore::DatamanagementService>(
      KESTREL_HERE, [&](InternalCore::DatamanagementService& service) { return service.createRelations(inputs); });
  links->reserve(reply.output.size());
  for (const auto& output : reply.output)
    if (output.relation) links->push_back(wrap(output.relation));
  return links.release();
}

void KESTREL_modify_trace_link(Orvane::PdmSoa::ModelObject* link,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list1,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list2,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list3,
                               const std::vector<Orvane::PdmSoa::ModelObject*>& list4) {
  ServerObject* link_object = input_server_object(link, "KESTREL_modify_trace_link", Input::link);
  // A newer server is sent the link alone: the lists are not read there.
  if (!kestrel::is_server_version_2007()) {
    remove_trace_link(link_object);
    return;
  }
  // All four before any is looked up, so a null is named before an unknown UID.
  for (const auto* list : {&list1, &list2, &list3, &list4})
    kestrel::require_no_nulls(KESTREL_HERE, *list, "KESTREL_modify_trace_link");
  const std::vector<Halden::Services::Core::TraceLinkModifyInput> inputs = {
      {link_object, kestrel::get_server_objects(list1, "KESTREL_modify_trace_link"),
       kestrel::get_server_objects(list2, "KESTREL_modify_trace_link"),
       kestrel::get_server_objects(list3, "KESTREL_modify_trace_link"),
       kestrel::get_server_objects(list4, "KESTREL_modify_trace_link")}};
  kestrel::soa_request<ManagedrelationsService>(
      KESTREL_HERE, [&](ManagedrelationsService& service) { service.modifyTraceLink(inputs); });
}

FullTextExport KESTREL_export_fulltext_to_word(const std::vector<std::string>& uids) {
  auto* models = kestrel::get_model_manager();
  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  constexpr const char* kNotFound = "KRAL SOA: No SOA WorkspaceObject object found for Virel/Mgr object with UID %s\n";

  // Every UID is resolved before the first secondary-object request.
  std::vector<HostObject*> objects;
  objects.reserve(uids.size());
  for (const auto& uid : uids) {
    HostObject* object = manager->GetObjectByUid(StringToUString(uid), HostObject::AskClassName());
    if (!object) KESTREL_RAISE(940205, kNotFound, uid.c_str());
    objects.push_back(object);
  }

  std::vector<Halden::Services::Requirementsmanagement::ExportToApplicationInput> inputs;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    for (HostObject* secondary : Orvane::PdmSoa::SoaManager::GetSecondaryObjects(objects[i], "")) {
      if (!secondary || secondary->GetClassType() != 7 || secondary->GetObjectType() != UString("FullText")) continue;
      ServerObject* full_text = models->findObject(UStringToString(secondary->GetUid()));
      if (!full_text) KESTREL_RAISE(940205, kNotFound, uids[i].c_str());
      inputs.push_back({full_text, "MSWord", ""});
    }
  }
  if (inputs.empty()) return {};

  auto reply = kestrel::soa_request_without_policy<RequirementsmanagementService>(
      KESTREL_HERE, [&](RequirementsmanagementService& service) { return service.exportToApplication(inputs); });
  FullTextExport result;
  result.texts = std::move(reply.transientFileReadTickets);
  // Asked after the export, as hosts have always seen it.
  result.extension = kestrel::is_server_version_2007() ? "docx" : "docm";
  return result;
}

namespace {

// A newer server keeps trace links as relations: this entry removes the link,
// through the core delete without a property policy.
void remove_trace_link(ServerObject* link) {
  const std::vector<ServerObject*> objects = {link};
  kestrel::soa_request_without_policy<Halden::Services::Core::DatamanagementService>(
      KESTREL_HERE, [&](Halden::Services::Core::DatamanagementService& dm) { dm.deleteObjects(objects); });
}

}  // namespace
