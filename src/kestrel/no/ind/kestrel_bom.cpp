#include "kestrel_bom.h"

#include <map>
#include <memory>
#include <new>

#include "cadlink/tovmgr.h"
#include "corerun/memory.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/model/Structure.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_relations.h"
#include "kestrel_request.h"
#include "kestrel_rev_rule.h"
#include "kestrel_scoped.h"

namespace Cad = Halden::Services::Cad;
namespace Model = Halden::Soa::Client::Model;
using Cad::StructuremanagementService;
using Halden::Soa::Client::ModelObject;
using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::BomWindow;
using Orvane::PdmSoa::SoaManager;

namespace {

// The host's current rule, by the GUID the PDM manager gives, into config.
void load_host_rule(Cad::RevisionRuleConfigInfo& config) {
  char* guid_text = nullptr;
  TOVMGR_VIREL_ask_config_rule_GUID(false, &guid_text);
  if (!guid_text) return;
  const std::string uid = kestrel::SmString(guid_text).get();
  ModelObject* object = kestrel::get_model_manager()->constructTypedObject("RevisionRule", uid);
  if (!object) KESTREL_RAISE(940032, "KRAL SOA: construct object failed on uid = %s\n", uid.c_str());
  auto* rule = dynamic_cast<Model::RevisionRule*>(object);
  // "item revision" for a rule: the text hosts know; keep it.
  if (!rule) KESTREL_RAISE(940032, "KRAL SOA: Cast to item revision failed, uid = %s\n", uid.c_str());
  config.revRule = rule;
  config.clientId.clear();
}

// The rule cache speaks for the host only when the host works through this
// session; otherwise, or when the cache has no rule object, the host's own
// current rule decides.
Cad::RevisionRuleConfigInfo window_rule_config() {
  Cad::RevisionRuleConfigInfo config;
  if (SoaManager::UseSoaInPdi()) {
    if (auto cached = KESTREL_get_soa_config_rule()) {
      config.clientId = cached->clientId;
      config.revRule = cached->revRule;
      config.date = cached->date;
      config.today = cached->today;
      if (config.revRule) return config;
    } else if (kestrel::debug_enabled(kestrel::kDebugSoa)) {
      RDEBUG_print_message("KRAL SOA debug: KESTREL_get_soa_config_rule did not return a rule");
    }
  }
  load_host_rule(config);
  return config;
}

Cad::ExpandBomLinesPref expansion_pref(int mode, bool single_line) {
  switch (mode) {
    case 1:
      return {true,
              {{"OSTRA_specification", {}},
               {"OSTRA_manifestation", {}},
               {"OSTRA_TOV_altrep", {}},
               {"OSTRA_TOV_scenario", {}},
               {"OSTRA_Simulation", {}},
               {"OSTRA_Rendering", {}}}};
    case 2:
      return {true, {kestrel::master_model_filter()}};
    case 3:
      return {single_line, {}};
    default:
      return {true, {}};
  }
}

Cad::ExpandBomLinesResponse expand(const std::vector<ModelObject*>& lines, const Cad::ExpandBomLinesPref& pref) {
  return kestrel::soa_request<StructuremanagementService>(
      KESTREL_HERE, [&](StructuremanagementService& sm) { return sm.expandBomLinesOneLevel(lines, pref); });
}

// Makes the line's revision and datasets known to the host.
void register_related(const Cad::BomLineData& data) {
  kestrel::wrap_as<Orvane::PdmSoa::ItemRevision>(data.itemRevOfBOMLine);
  for (ModelObject* dataset : data.datasets) kestrel::wrap_as<Orvane::PdmSoa::Dataset>(dataset);
}

// A top line's own data is new to the host; a line with a parent came with
// its parent's expansion.
void register_parent(BomLine* line, const Cad::BomLineData& data) {
  if (!line->GetPropertyObject("bl_parent")) register_related(data);
}

constexpr const char* kNoServerObject = "KRAL SOA: Error getting SOA object from KRAL object";

// Child lines until the host takes them: freed, lines and list, if the host
// throws while they are built.
struct LinesDeleter {
  void operator()(std::vector<BomLine*>* lines) const {
    for (BomLine* line : *lines) delete line;
    delete lines;
  }
};
using HeldLines = std::unique_ptr<std::vector<BomLine*>, LinesDeleter>;

HeldLines child_lines(const std::vector<Cad::BomLineData>& children) {
  HeldLines lines(new std::vector<BomLine*>());
  lines->reserve(children.size());
  for (const auto& child : children) {
    if (child.bomLine) {
      // Class operator new: CppMemory, given back should the constructor throw.
      lines->push_back(new BomLine(StringToUString(child.bomLine->getUid()), child.bomLine, 0));
    }
    register_related(child);
  }
  return lines;
}

}  // namespace

BomWindow* KESTREL_create_bom_window(const std::string& item_revision_uid) {
  Orvane::PdmSoa::ItemRevision* revision = nullptr;
  Orvane::PdmSoa::ModelObject* item = nullptr;
  Orvane::PdmSoa::ModelObject* bom_view = nullptr;
  const bool answered = TOVMGR_SOA_ask_bvr(item_revision_uid.c_str(), &revision, &item, &bom_view);
  const char* uid = item_revision_uid.c_str();
  if (!revision) KESTREL_RAISE(940209, "KRAL SOA: failed to find item_rev = %s\n", uid);
  ModelObject* revision_object = revision->GetObjectPtr();
  if (!revision_object) KESTREL_RAISE(940209, "KRAL SOA: construct object failed on uid = %s\n", uid);

  Cad::CreateBomWindowsInfo request;
  request.itemRev = revision_object;
  request.bomView = answered && bom_view ? bom_view->GetObjectPtr() : nullptr;
  request.revRuleConfigInfo = window_rule_config();
  auto reply = kestrel::soa_request<StructuremanagementService>(
      KESTREL_HERE, [&](StructuremanagementService& sm) { return sm.createBomWindows({request}); });
  if (reply.output.empty()) KESTREL_RAISE(940209, "KRAL SOA: Failed to create BOM window for item rev uid = %s\n", uid);

  return kestrel::wrap_as<BomWindow>(reply.output.front().bomWindow);
}

void KESTREL_close_bom_window(BomWindow* window) {
  if (!window) KESTREL_RAISE(940208, "KRAL SOA: Null BOM window in KESTREL_close_bom_window");
  ModelObject* object = kestrel::server_object_of(KESTREL_HERE, window, 940209, kNoServerObject);
  kestrel::soa_request<StructuremanagementService>(
      KESTREL_HERE, [&](StructuremanagementService& sm) { sm.closeBomWindows({object}); });
}

BomLine* KESTREL_ask_bom_top_line(BomWindow* window) {
  if (!window) KESTREL_RAISE(940208, "KRAL SOA: Null BOM window in KESTREL_ask_bom_top_line");
  // A server object that is no BOM window has no top line to read.
  auto* server_window = dynamic_cast<Model::BOMWindow*>(window->GetObjectPtr());
  ModelObject* top_line = nullptr;
  if (server_window)
    top_line = kestrel::convert_soa_exceptions(KESTREL_HERE, [&] { return server_window->get_top_line(); });
  const std::string uid = UStringToString(window->GetUid());
  if (!top_line) KESTREL_RAISE(940209, "KRAL SOA: BOM window has no top line, window uid = %s\n", uid.c_str());
  if (!dynamic_cast<Model::BOMLine*>(top_line))
    KESTREL_RAISE(940209, "KRAL SOA: Returned top line not a valid BOM line, window uid = %s\n", uid.c_str());
  return kestrel::wrap_as<BomLine>(top_line);
}

std::vector<BomLine*>* KESTREL_expand_bom_line(BomLine* line, int related_data_mode) {
  if (!line) KESTREL_RAISE(940208, "KRAL SOA: Null BOM line in KESTREL_expand_bom_line");
  ModelObject* server_line = kestrel::server_object_of(KESTREL_HERE, line, 940209, kNoServerObject);
  auto reply = expand({server_line}, expansion_pref(related_data_mode, true));
  if (reply.output.empty()) return new std::vector<BomLine*>();
  const auto& output = reply.output.front();
  register_parent(line, output.parent);
  return child_lines(output.children).release();
}

std::vector<std::vector<BomLine*>*>* KESTREL_expand_bom_lines(const std::vector<BomLine*>& lines,
                                                              int related_data_mode) {
  std::vector<ModelObject*> server_lines;
  server_lines.reserve(lines.size());
  for (BomLine* line : lines) {
    if (!line) KESTREL_RAISE(940208, "KRAL SOA: Null BOM line in KESTREL_expand_bom_lines");
    server_lines.push_back(kestrel::server_object_of(KESTREL_HERE, line, 940209, kNoServerObject));
  }
  auto reply = expand(server_lines, expansion_pref(related_data_mode, false));

  std::vector<HeldLines> held;
  held.reserve(reply.output.size());
  for (std::size_t i = 0; i < reply.output.size(); ++i) {
    const auto& output = reply.output[i];
    // An output beyond the lines sent has no line to ask for its parent.
    if (i < lines.size()) register_parent(lines[i], output.parent);
    held.push_back(child_lines(output.children));
  }
  auto result = std::make_unique<std::vector<std::vector<BomLine*>*>>();
  result->reserve(held.size());
  for (HeldLines& children : held) result->push_back(children.release());
  return result.release();
}

void KESTREL_ask_bom_lines_by_path(Orvane::PdmSoa::ModelObject* scope,
                                   const std::vector<std::vector<std::string>>& paths, std::vector<BomLine*>* out) {
  if (!scope) KESTREL_RAISE(940208, "KRAL SOA: Null scope in KESTREL_ask_bom_lines_by_path");
  if (!out) KESTREL_RAISE(940208, "KRAL SOA: Null output list in KESTREL_ask_bom_lines_by_path");
  ModelObject* server_scope = kestrel::server_object_of(KESTREL_HERE, scope, 940209, kNoServerObject);
  std::vector<Cad::GetBomLinesByPathInfo> requests;
  requests.reserve(paths.size());
  for (const auto& path : paths) requests.push_back({"", server_scope, false, {{"", path}}});
  auto reply = kestrel::soa_request_without_policy<StructuremanagementService>(
      KESTREL_HERE, [&](StructuremanagementService& sm) { return sm.getBomLinesByPath(requests); });

  std::map<std::string, BomLine*> found;
  for (const auto& [key, line] : reply.lines) found[key] = kestrel::wrap_as<BomLine>(line);
  for (const auto& path : paths) {
    // A path without strings has no key to look for.
    if (path.empty()) continue;
    auto it = found.find(path.back());
    if (it != found.end() && it->second) out->push_back(it->second);
  }
}
