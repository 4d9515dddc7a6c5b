#include "halden/server/world/StructureManagementWorld.h"

#include <algorithm>

namespace Halden::Soa::Server {

namespace {

using namespace props;

const std::vector<std::string> kWindowTypes = {"BOMWindow", "RuntimeBusinessObject"};
const std::vector<std::string> kLineTypes = {"BOMLine", "RuntimeBusinessObject"};

}  // namespace

void StructureManagementWorld::add_revision_rule(const std::string& uid, const std::string& name,
                                                 std::vector<std::string> entry_uids) {
  store_.add_object(uid, {"RevisionRule", "POM_application_object", "POM_object"},
                    {str("object_name", name), refs("entry_list", std::move(entry_uids))});
  revision_rules_.push_back(uid);
}

std::vector<std::string> StructureManagementWorld::open_windows() const {
  std::vector<std::string> open;
  for (const auto& [uid, window] : windows_)
    if (window.open) open.push_back(uid);
  return open;
}

std::string StructureManagementWorld::make_line(const std::string& window_uid, const std::string& revision_uid,
                                                const std::string& parent_uid, const std::string& name, int quantity,
                                                int sequence) {
  auto& window = windows_.at(window_uid);
  const std::string uid =
      "bomline-" + window_uid.substr(window_uid.find('-') + 1) + "-" + std::to_string(++window.lines);
  const auto& revision = *catalog_.revision(revision_uid);
  const auto& item = *catalog_.item(revision.item_id);
  store_.add_object(
      uid, kLineTypes,
      {ref("bl_parent", parent_uid), ref("bl_window", window_uid), ref("bl_revision", revision_uid),
       str("bl_item_item_id", revision.item_id), str("bl_rev_item_revision_id", revision.revision_id),
       str("bl_item_object_name", item.name), str("bl_quantity", quantity > 0 ? std::to_string(quantity) : ""),
       str("bl_sequence_no", sequence > 0 ? std::to_string(sequence) : ""), str("bl_line_name", name),
       logical("bl_has_children", !revision.occurrences.empty())});
  lines_[uid] = Line{window_uid, revision_uid, name, false, {}, {}};
  window.line_uids.push_back(uid);
  return uid;
}

const std::vector<std::string>& StructureManagementWorld::children_of(const std::string& line_uid) {
  if (lines_.at(line_uid).expanded) return lines_.at(line_uid).children;
  // Making lines adds to lines_, which leaves references to its elements valid.
  const Line& line = lines_.at(line_uid);
  const auto& window = windows_.at(line.window_uid);
  const auto& occurrences = catalog_.revision(line.revision_uid)->occurrences;
  std::vector<std::string> children;
  children.reserve(occurrences.size());
  int sequence = 0;
  for (const auto& occurrence : occurrences) {
    sequence += 10;
    const std::string revision = catalog_.configured(window.rule_uid, occurrence.child_item_id);
    if (revision.empty()) continue;
    children.push_back(make_line(line.window_uid, revision, line_uid, occurrence.name, occurrence.quantity, sequence));
  }
  auto& stored = lines_.at(line_uid);
  stored.children = std::move(children);
  stored.child_by_name.reserve(stored.children.size());
  for (std::size_t i = 0; i < stored.children.size(); ++i)
    stored.child_by_name.try_emplace(lines_.at(stored.children[i]).name, i);
  stored.expanded = true;
  return stored.children;
}

const std::string* StructureManagementWorld::child_named(const std::string& line_uid, const std::string& name) {
  const auto& children = children_of(line_uid);
  const auto& by_name = lines_.at(line_uid).child_by_name;
  auto child = by_name.find(name);
  return child == by_name.end() ? nullptr : &children[child->second];
}

BomLineData StructureManagementWorld::line_data(const std::string& line_uid, const ExpandInfo& info,
                                                UidList& carried) const {
  BomLineData data{line_uid, "", {}};
  carried.add(line_uid);
  if (!info.related_data) return data;
  data.item_revision_uid = lines_.at(line_uid).revision_uid;
  data.dataset_uids = catalog_.datasets_of(data.item_revision_uid, info.filters);
  carried.add(data.item_revision_uid);
  carried.add(data.dataset_uids);
  return data;
}

const StructureManagementWorld::Line* StructureManagementWorld::scope_line(const std::string& uid,
                                                                           std::string* line_uid) const {
  auto window = windows_.find(uid);
  *line_uid = window != windows_.end() ? window->second.top_line : uid;
  auto line = lines_.find(*line_uid);
  return line == lines_.end() ? nullptr : &line->second;
}

RevisionRulesReply StructureManagementWorld::getRevisionRules() {
  // The rules' entries come along with what the policy names of them, as
  // the rule cache reads them next.
  std::vector<std::string> carried = revision_rules_;
  for (const auto& rule : revision_rules_)
    for (const auto& p : store_.wire_object(rule, {"entry_list"}).properties)
      if (p.name == "entry_list")
        for (const auto& entry : p.references)
          if (!entry.empty() && std::find(carried.begin(), carried.end(), entry) == carried.end())
            carried.push_back(entry);
  return {revision_rules_, store_.reply_with(carried)};
}

BomWindowsReply StructureManagementWorld::createBomWindows(const std::vector<BomWindowRequest>& requests) {
  BomWindowsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  std::vector<std::string> created;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto revision = catalog_.revision(request.item_revision_uid);
    if (!revision) {
      errors.push_back(WorldStore::error_of(static_cast<int>(i), request.client_id, 46027,
                                            "The item revision " + request.item_revision_uid + " could not be found."));
      continue;
    }
    const std::string window_uid = "bomwindow-" + std::to_string(++window_count_);
    windows_[window_uid] = Window{request.config.rule_uid, "", true, 0, {}};
    const std::string top_line = make_line(window_uid, request.item_revision_uid, "", revision->item_id, 0, 0);
    windows_[window_uid].top_line = top_line;
    store_.add_object(
        window_uid, kWindowTypes,
        {ref("top_line", top_line), ref("revision_rule", request.config.rule_uid), logical("is_precise", false)});
    reply.outputs.push_back({request.client_id, window_uid, top_line});
    created.push_back(window_uid);
    created.push_back(top_line);
    carried.add({window_uid, top_line, request.item_revision_uid});
  }
  reply.data = store_.reply_with(carried.uids(), ProductCatalog::identity());
  reply.data.created = std::move(created);
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData StructureManagementWorld::closeBomWindows(const std::vector<std::string>& window_uids) {
  WireServiceData data;
  for (std::size_t i = 0; i < window_uids.size(); ++i) {
    auto window = windows_.find(window_uids[i]);
    if (window == windows_.end() || !window->second.open) {
      data.errors.push_back(WorldStore::error_of(static_cast<int>(i), window_uids[i], 46030,
                                                 "The BOM window " + window_uids[i] + " is not open."));
      continue;
    }
    window->second.open = false;
    for (const auto& line : window->second.line_uids) {
      lines_.erase(line);
      store_.remove(line);
    }
    window->second.line_uids = {};
  }
  return data;
}

ExpandBomLinesReply StructureManagementWorld::expandBomLinesOneLevel(const std::vector<std::string>& line_uids,
                                                                     const ExpandInfo& info) {
  ExpandBomLinesReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < line_uids.size(); ++i) {
    const auto& uid = line_uids[i];
    auto line = lines_.find(uid);
    if (line == lines_.end() || !windows_.at(line->second.window_uid).open) {
      errors.push_back(
          WorldStore::error_of(static_cast<int>(i), uid, 46031, "The BOM line " + uid + " is not in an open window."));
      continue;
    }
    BomLineExpansion output;
    output.parent = line_data(uid, info, carried);
    const auto& children = children_of(uid);
    output.children.reserve(children.size());
    for (const auto& child : children) output.children.push_back(line_data(child, info, carried));
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), ProductCatalog::identity());
  reply.data.errors = std::move(errors);
  return reply;
}

BomLinesByPathReply StructureManagementWorld::getBomLinesByPath(const std::vector<BomPathRequest>& requests) {
  BomLinesByPathReply reply;
  UidList carried;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    std::string scope;
    if (!scope_line(requests[i].scope_uid, &scope)) {
      reply.data.errors.push_back(
          WorldStore::error_of(static_cast<int>(i), requests[i].client_id, 46032,
                               "The scope " + requests[i].scope_uid + " is no BOM window or line."));
      continue;
    }
    for (const auto& entry : requests[i].entries) {
      if (entry.path.empty()) continue;
      std::string current = scope;
      bool found = true;
      for (const auto& name : entry.path) {
        const std::string* child = child_named(current, name);
        if (!child) {
          found = false;
          break;
        }
        current = *child;
      }
      if (!found) continue;
      reply.lines[entry.path.back()] = current;
      carried.add(current);
    }
  }
  auto errors = std::move(reply.data.errors);
  reply.data = store_.reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

ConfiguredRevisionsReply StructureManagementWorld::getConfiguredRevisions(
    const std::vector<ConfiguredRevisionRequest>& requests) {
  ConfiguredRevisionsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto item = catalog_.item_id_of(request.item_uid);
    if (!item) {
      errors.push_back(WorldStore::error_of(static_cast<int>(i), request.item_uid, 214108,
                                            "The item " + request.item_uid + " does not exist."));
      continue;
    }
    const std::string revision = catalog_.configured(request.rule_uid, *item);
    if (revision.empty()) continue;
    reply.outputs.push_back({request.item_uid, request.rule_uid, revision});
    carried.add({revision, request.item_uid});
  }
  reply.data = store_.reply_with(carried.uids(), ProductCatalog::identity());
  reply.data.errors = std::move(errors);
  return reply;
}

}  // namespace Halden::Soa::Server
