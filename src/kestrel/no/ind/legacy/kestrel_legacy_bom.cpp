// BOM windows, top lines and line expansion of the legacy build.
#include <memory>
#include <vector>

#include "cadlink/tovmgr.h"
#include "cadlink/virelmgr.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/ModelManager.h"
#include "halden/soa/client/model/RevisionRule.h"
#include "halden/soa/client/model/Structure.h"
#include "kestrel_call.h"
#include "kestrel_legacy.h"
#include "kestrel_relations.h"
#include "kestrel_scoped.h"

using Halden::Services::Cad::StructuremanagementService;
using Halden::Soa::Client::ModelObject;
using Orvane::PdmSoa::VirelmgrBomLine;
using Orvane::PdmSoa::VirelmgrBomWindow;
namespace Cad = Halden::Services::Cad;
namespace Model = Halden::Soa::Client::Model;

namespace {

// The host's current rule by its GUID, or none when the host has no GUID.
Model::RevisionRule* host_rule(Halden::Soa::Client::ModelManager& models) {
  char* guid_text = nullptr;
  TOVMGR_VIREL_ask_config_rule_GUID(false, &guid_text);
  if (!guid_text) return nullptr;
  // Copied and freed before anything can raise.
  const std::string guid = kestrel::SmString(guid_text).get();
  ModelObject* object = models.constructTypedObject("RevisionRule", guid);
  if (!object) KESTREL_LEGACY_RAISE(940032, "SOA: construct object failed on uid = %s\n", guid.c_str());
  auto* rule = dynamic_cast<Model::RevisionRule*>(object);
  // "item revision" for a rule: the text hosts know; keep it.
  if (!rule) KESTREL_LEGACY_RAISE(940032, "SOA: Cast to item revision failed, uid = %s\n", guid.c_str());
  return rule;
}

struct GiveBackLines {
  void operator()(std::vector<VirelmgrBomLine*>* lines) const {
    for (VirelmgrBomLine* line : *lines) kestrel::destroy_on_cpp_memory(line);
    delete lines;
  }
};
// Lines built for the host, given back should the expansion fail before
// the host has them.
using HeldLines = std::unique_ptr<std::vector<VirelmgrBomLine*>, GiveBackLines>;

}  // namespace

VirelmgrBomWindow* KESTREL_create_bom_window(const std::string& item_revision_uid) {
  auto* models = kestrel::get_model_manager(KESTREL_LEGACY_HERE);
  const char* uid = item_revision_uid.c_str();
  ModelObject* object = models->constructTypedObject("ItemRevision", item_revision_uid);
  if (!object) KESTREL_LEGACY_RAISE(940209, "SOA: construct object failed on uid = %s\n", uid);
  auto* revision = dynamic_cast<Model::ItemRevision*>(object);
  if (!revision) KESTREL_LEGACY_RAISE(940209, "SOA: Cast to item revision failed, uid = %s\n", uid);

  Cad::CreateBomWindowsInfo request;
  request.itemRev = revision;
  request.revRuleConfigInfo.revRule = host_rule(*models);
  auto reply = kestrel::soa_request_on<StructuremanagementService>(
      kestrel::require_connection(KESTREL_LEGACY_HERE),
      [&](StructuremanagementService& sm) { return sm.createBomWindows({request}); });
  ModelObject* window = reply.output.empty() ? nullptr : reply.output.front().bomWindow;
  if (!window) KESTREL_LEGACY_RAISE(940209, "SOA: Failed to create BOM window for item rev uid = %s\n", uid);
  return kestrel::build_on_cpp_memory<VirelmgrBomWindow>(window->getUid(), window);
}

void KESTREL_close_bom_window(VirelmgrBomWindow* window) {
  if (!window) KESTREL_LEGACY_RAISE(940208, "Null BOM window in KESTREL_close_bom_window");
  Halden::Soa::Client::Connection& connection = kestrel::require_connection(KESTREL_LEGACY_HERE);
  ModelObject* object = kestrel::legacy::server_object_of(*window);
  kestrel::soa_request_on<StructuremanagementService>(
      connection, [&](StructuremanagementService& sm) { sm.closeBomWindows({object}); });
}

VirelmgrBomLine* KESTREL_ask_bom_top_line(VirelmgrBomWindow* window) {
  if (!window) KESTREL_LEGACY_RAISE(940208, "Null BOM window in KESTREL_ask_bom_top_line");
  // A server object that is no BOM window has no top line to read.
  auto* server_window = dynamic_cast<Model::BOMWindow*>(window->GetObjectPtr());
  ModelObject* top_line = server_window ? server_window->get_top_line() : nullptr;
  const std::string uid = window->GetUid();
  if (!top_line) KESTREL_LEGACY_RAISE(940209, "SOA: BOM window has no top line, window uid = %s\n", uid.c_str());
  auto* line = dynamic_cast<Model::BOMLine*>(top_line);
  if (!line)
    KESTREL_LEGACY_RAISE(940209, "SOA: Returned top line not a valid BOM line, window uid = %s\n", uid.c_str());
  VirelmgrBomLine* host_line = VirelmgrBomLine::GetInstance(line->getUid(), line);
  if (ModelObject* revision = line->get_bl_revision())
    Orvane::PdmSoa::VirelmgrItemRevision::GetInstance(revision->getUid(), revision, 0);
  return host_line;
}

std::vector<VirelmgrBomLine*>* KESTREL_expand_bom_line(VirelmgrBomLine* line) {
  if (!line) KESTREL_LEGACY_RAISE(940208, "Null BOM line in KESTREL_expand_bom_line");
  const Cad::ExpandBomLinesPref pref{true, {kestrel::master_model_filter()}};
  Halden::Soa::Client::Connection& connection = kestrel::require_connection(KESTREL_LEGACY_HERE);
  ModelObject* object = kestrel::legacy::server_object_of(*line);
  auto reply = kestrel::soa_request_on<StructuremanagementService>(
      connection, [&](StructuremanagementService& sm) { return sm.expandBomLinesOneLevel({object}, pref); });

  HeldLines lines(new std::vector<VirelmgrBomLine*>());
  if (reply.output.empty()) return lines.release();
  const auto& children = reply.output.front().children;
  lines->reserve(children.size());
  for (const auto& child : children) {
    if (child.bomLine)
      lines->push_back(kestrel::build_on_cpp_memory<VirelmgrBomLine>(child.bomLine->getUid(), child.bomLine));
    // The host learns a child's revision and datasets even without its line.
    if (ModelObject* revision = child.itemRevOfBOMLine)
      Orvane::PdmSoa::VirelmgrItemRevision::GetInstance(revision->getUid(), revision, 0);
    for (ModelObject* dataset : child.datasets)
      if (dataset) Orvane::PdmSoa::VirelmgrDataset::GetInstance(dataset->getUid(), dataset, 0);
  }
  return lines.release();
}
