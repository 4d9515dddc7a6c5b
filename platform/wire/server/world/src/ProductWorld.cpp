// The sample world's product structure: items, revisions, datasets, BOM views
// with their occurrences, and the BOM windows and lines that requests open,
// expand and walk.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "halden/server/SampleWorld.h"

namespace Halden::Soa::Server {

namespace {

using namespace props;

const std::vector<std::string> kItemTypes = {"Item", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kRevisionTypes = {"ItemRevision", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kBomViewTypes = {"PSBOMViewRevision", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kDatasetTypes = {"Dataset", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kWindowTypes = {"BOMWindow", "RuntimeBusinessObject"};
const std::vector<std::string> kLineTypes = {"BOMLine", "RuntimeBusinessObject"};

// What replies about items and revisions carry whatever the policy says.
const std::vector<std::string> kIdentity = {"item_id", "item_revision_id", "items_tag", "structure_revisions"};

WireErrorStack error_of(int client_index, const std::string& client_id, int code, const std::string& message) {
  return WireErrorStack{"", client_index, client_id, {{code, 3, message}}};
}

// Collects reply UIDs once each, in first-seen order.
class UidList {
 public:
  void add(const std::string& uid) {
    if (!uid.empty() && seen_.insert(uid).second) uids_.push_back(uid);
  }
  void add(const std::vector<std::string>& uids) {
    for (const auto& uid : uids) add(uid);
  }
  const std::vector<std::string>& uids() const { return uids_; }

 private:
  std::unordered_set<std::string> seen_;
  std::vector<std::string> uids_;
};

// The revision of an item that a rule configures, or "" for none.
std::string configured_revision(SampleWorld& world, const SampleWorld::StoredObject* rule,
                                const std::vector<std::string>& revisions,
                                const std::unordered_map<std::string, bool>& released) {
  if (revisions.empty()) return {};
  if (!rule) return revisions.back();
  auto entries = rule->properties.find("entry_list");
  if (entries == rule->properties.end()) return revisions.back();
  for (const auto& entry_uid : entries->second.references) {
    const auto* entry = world.find(entry_uid);
    if (!entry) continue;
    const auto& types = entry->types;
    if (std::find(types.begin(), types.end(), "CFMWorkingEntry") != types.end()) return revisions.back();
    if (std::find(types.begin(), types.end(), "CFMStatusEntry") == types.end()) continue;
    for (auto it = revisions.rbegin(); it != revisions.rend(); ++it)
      if (released.at(*it)) return *it;
  }
  return {};
}

}  // namespace

struct SampleWorld::ProductStructure {
  struct Occurrence {
    std::string child_item_id;
    int quantity;
    std::string name;
    // Occurrences saved through relative structure; "" for those the world
    // was built with.
    std::string uid, thread_uid, cad_occ_id;
    bool as_required = false;
    std::vector<double> transform;
    std::vector<OccurrenceNote> notes;
    std::vector<OccurrenceAttribute> attributes;
  };
  struct RelatedDataset {
    std::string relation, uid, type;
  };
  struct Revision {
    std::string item_id, revision_id, bvr_uid;
    bool released;
    std::vector<RelatedDataset> datasets;
    std::vector<Occurrence> occurrences;
    Common::DateTime bvr_modified;
    // Positions of saved occurrences, rebuilt whenever occurrences go.
    std::unordered_map<std::string, std::size_t> by_cad_occ_id, by_thread;
  };
  struct Item {
    std::string uid, name;
    std::vector<std::string> revisions;  // UIDs, oldest first
  };
  struct Window {
    std::string rule_uid, top_line;
    bool open = true;
    int lines = 0;
  };
  struct Line {
    std::string window_uid, revision_uid, name;
    bool expanded = false;
    std::vector<std::string> children;
  };

  std::map<std::string, Item> items;                      // by item id
  std::unordered_map<std::string, std::string> item_ids;  // item UID -> item id
  std::unordered_map<std::string, Revision> revisions;    // by UID
  std::map<std::string, Window> windows;                  // by UID
  std::unordered_map<std::string, Line> lines;            // by UID
  int window_count = 0;
  int occurrence_count = 0;
  // The world's clock for BOM view modifications, a minute per change.
  std::int64_t clock = 1700000000;

  // Helpers that need the world's store.
  static std::string configured(SampleWorld& world, const std::string& rule_uid, const std::string& item_id) {
    const auto& item = world.product_->items.at(item_id);
    std::unordered_map<std::string, bool> released;
    for (const auto& uid : item.revisions) released[uid] = world.product_->revisions.at(uid).released;
    return configured_revision(world, rule_uid.empty() ? nullptr : world.find(rule_uid), item.revisions, released);
  }

  static std::string make_line(SampleWorld& world, const std::string& window_uid, const std::string& revision_uid,
                               const std::string& parent_uid, const std::string& name, int quantity, int sequence) {
    auto& window = world.product_->windows.at(window_uid);
    const std::string uid =
        "bomline-" + window_uid.substr(window_uid.find('-') + 1) + "-" + std::to_string(++window.lines);
    const auto& revision = world.product_->revisions.at(revision_uid);
    const auto& item = world.product_->items.at(revision.item_id);
    world.add_object(
        uid, kLineTypes,
        {ref("bl_parent", parent_uid), ref("bl_window", window_uid), ref("bl_revision", revision_uid),
         str("bl_item_item_id", revision.item_id), str("bl_rev_item_revision_id", revision.revision_id),
         str("bl_item_object_name", item.name), str("bl_quantity", quantity > 0 ? std::to_string(quantity) : ""),
         str("bl_sequence_no", sequence > 0 ? std::to_string(sequence) : ""), str("bl_line_name", name),
         logical("bl_has_children", !revision.occurrences.empty())});
    world.product_->lines[uid] = Line{window_uid, revision_uid, name, false, {}};
    return uid;
  }

  // The line's children, made on its first expansion.
  static const std::vector<std::string>& children_of(SampleWorld& world, const std::string& line_uid) {
    auto& store = *world.product_;
    if (store.lines.at(line_uid).expanded) return store.lines.at(line_uid).children;
    const Line line = store.lines.at(line_uid);
    const auto& window = store.windows.at(line.window_uid);
    const auto occurrences = store.revisions.at(line.revision_uid).occurrences;
    std::vector<std::string> children;
    children.reserve(occurrences.size());
    int sequence = 0;
    for (const auto& occurrence : occurrences) {
      sequence += 10;
      const std::string revision = configured(world, window.rule_uid, occurrence.child_item_id);
      if (revision.empty()) continue;
      children.push_back(
          make_line(world, line.window_uid, revision, line_uid, occurrence.name, occurrence.quantity, sequence));
    }
    auto& stored = store.lines.at(line_uid);
    stored.children = std::move(children);
    stored.expanded = true;
    return stored.children;
  }

  static std::vector<std::string> datasets_of(SampleWorld& world, const std::string& revision_uid,
                                              const std::vector<RelationFilterRecord>& filters) {
    std::vector<std::string> out;
    for (const auto& d : world.product_->revisions.at(revision_uid).datasets) {
      const bool wanted =
          filters.empty() || std::any_of(filters.begin(), filters.end(), [&](const auto& f) {
            return f.relation == d.relation &&
                   (f.types.empty() || std::find(f.types.begin(), f.types.end(), d.type) != f.types.end());
          });
      if (wanted) out.push_back(d.uid);
    }
    return out;
  }

  static BomLineData line_data(SampleWorld& world, const std::string& line_uid, const ExpandInfo& info,
                               UidList& carried) {
    BomLineData data{line_uid, "", {}};
    carried.add(line_uid);
    if (!info.related_data) return data;
    data.item_revision_uid = world.product_->lines.at(line_uid).revision_uid;
    data.dataset_uids = datasets_of(world, data.item_revision_uid, info.filters);
    carried.add(data.item_revision_uid);
    carried.add(data.dataset_uids);
    return data;
  }

  // The line a path's scope stands for: a window's top line, or the line.
  static const Line* scope_line(SampleWorld& world, const std::string& uid, std::string* line_uid) {
    auto& store = *world.product_;
    auto window = store.windows.find(uid);
    *line_uid = window != store.windows.end() ? window->second.top_line : uid;
    auto line = store.lines.find(*line_uid);
    return line == store.lines.end() ? nullptr : &line->second;
  }
};

void SampleWorld::add_product_structure() {
  product_ = std::make_shared<ProductStructure>();
  set_policy("BOMWindow", {"top_line"});
  set_policy("PSOccurrence", {"occ_thread"});
  set_policy("BOMLine", {"bl_parent", "bl_item_item_id", "bl_rev_item_revision_id", "bl_item_object_name",
                         "bl_quantity", "bl_sequence_no", "bl_line_name", "bl_has_children"});

  // A utility cart: its newest revision differs from the released one, and
  // the two rules "Latest Working" and "Latest Released" configure different
  // revisions of the frame, the wheel assembly and the axle.
  struct Part {
    const char* id;
    const char* name;
    std::vector<std::pair<const char*, bool>> revisions;  // oldest first; released?
  };
  const Part parts[] = {
      {"K-1000", "Utility cart", {{"A", true}, {"B", false}}},
      {"K-1100", "Chassis", {{"A", true}}},
      {"K-1110", "Frame weldment", {{"A", true}, {"B", true}, {"C", false}}},
      {"K-1120", "Caster bracket", {{"A", true}}},
      {"K-1200", "Wheel assembly", {{"A", true}, {"B", false}}},
      {"K-1210", "Wheel rim", {{"A", true}}},
      {"K-1220", "Tyre 250x50", {{"A", true}}},
      {"K-1230", "Axle", {{"A", true}, {"B", false}}},
      {"K-1300", "Push handle", {{"A", true}}},
      {"K-9001", "Hex bolt M8x20", {{"A", true}}},
      {"K-9002", "Lock nut M8", {{"A", true}}},
  };
  for (const auto& part : parts) {
    add_item(part.id, part.name);
    for (const auto& [revision, released] : part.revisions) {
      add_item_revision(part.id, revision, released);
      const std::string stem = std::string("ds-") + part.id + "-" + revision;
      add_dataset(stem + "-master", part.id, revision, "OSTRA_specification", "TOVMASTER",
                  std::string(part.id) + "/" + revision + " master model");
    }
  }

  add_occurrence("K-1000", "A", "K-1100");
  add_occurrence("K-1000", "A", "K-1200", 2);
  add_occurrence("K-1000", "A", "K-9001", 8);
  add_occurrence("K-1000", "B", "K-1100");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-left");
  add_occurrence("K-1000", "B", "K-1200", 0, "wheel-right");
  add_occurrence("K-1000", "B", "K-1300");
  add_occurrence("K-1000", "B", "K-9001", 12);
  add_occurrence("K-1000", "B", "K-9002", 12);
  add_occurrence("K-1100", "A", "K-1110");
  add_occurrence("K-1100", "A", "K-1120", 4);
  for (const char* revision : {"A", "B"}) {
    add_occurrence("K-1200", revision, "K-1210");
    add_occurrence("K-1200", revision, "K-1220");
    add_occurrence("K-1200", revision, "K-1230");
  }
  add_occurrence("K-1200", "B", "K-9002");

  add_dataset("ds-K-1000-A-drawing", "K-1000", "A", "OSTRA_manifestation", "PDF", "K-1000/A drawing");
  add_dataset("ds-K-1000-B-drawing", "K-1000", "B", "OSTRA_manifestation", "PDF", "K-1000/B drawing");
  add_dataset("ds-K-1000-B-jt", "K-1000", "B", "OSTRA_Rendering", "DirectModel", "K-1000/B visualisation");
  add_dataset("ds-K-1000-B-notes", "K-1000", "B", "IMAN_reference", "MSWord", "K-1000/B assembly notes");
  add_dataset("ds-K-1100-A-jt", "K-1100", "A", "OSTRA_Rendering", "DirectModel", "K-1100/A visualisation");
  add_dataset("ds-K-1110-B-drawing", "K-1110", "B", "OSTRA_manifestation", "PDF", "K-1110/B drawing");
  add_dataset("ds-K-1110-C-spec", "K-1110", "C", "OSTRA_specification", "Text", "K-1110/C welding procedure");
  add_dataset("ds-K-1110-C-altrep", "K-1110", "C", "OSTRA_TOV_altrep", "TOVALTREP", "K-1110/C simplified");
  add_dataset("ds-K-1110-C-fea", "K-1110", "C", "OSTRA_Simulation", "CAEAnalysis", "K-1110/C load case");
  add_dataset("ds-K-1200-B-jt", "K-1200", "B", "OSTRA_Rendering", "DirectModel", "K-1200/B visualisation");
}

std::string SampleWorld::add_item(const std::string& item_id, const std::string& name) {
  const std::string uid = "item-" + item_id;
  add_object(
      uid, kItemTypes,
      {str("item_id", item_id), str("object_name", name), str("object_type", "Item"), refs("revision_list", {})});
  product_->items[item_id] = ProductStructure::Item{uid, name, {}};
  product_->item_ids[uid] = item_id;
  return uid;
}

std::string SampleWorld::add_item_revision(const std::string& item_id, const std::string& revision_id, bool released) {
  auto& item = product_->items.at(item_id);
  const std::string uid = "rev-" + item_id + "-" + revision_id;
  add_object(uid, kRevisionTypes,
             {str("item_revision_id", revision_id), str("item_id", item_id), str("object_name", item.name),
              str("object_type", "ItemRevision"), ref("items_tag", item.uid), refs("structure_revisions", {}),
              str("release_status", released ? "Released" : "")});
  product_->revisions[uid] = ProductStructure::Revision{item_id, revision_id, "", released, {}, {}, {}, {}, {}};
  item.revisions.push_back(uid);
  set_property(item.uid, refs("revision_list", item.revisions));
  return uid;
}

void SampleWorld::add_dataset(const std::string& uid, const std::string& item_id, const std::string& revision_id,
                              const std::string& relation, const std::string& type, const std::string& name) {
  const std::string revision_uid = "rev-" + item_id + "-" + revision_id;
  auto& revision = product_->revisions.at(revision_uid);
  add_object(uid, kDatasetTypes, {str("object_name", name), str("object_type", type)});
  revision.datasets.push_back({relation, uid, type});
  std::vector<std::string> related;
  for (const auto& d : revision.datasets)
    if (d.relation == relation) related.push_back(d.uid);
  set_property(revision_uid, refs(relation, std::move(related)));
}

void SampleWorld::add_occurrence(const std::string& item_id, const std::string& revision_id,
                                 const std::string& child_item_id, int quantity, const std::string& name) {
  const std::string revision_uid = "rev-" + item_id + "-" + revision_id;
  auto& revision = product_->revisions.at(revision_uid);
  product_->items.at(child_item_id);  // the child must exist
  ensure_bom_view(revision_uid);
  ProductStructure::Occurrence occurrence;
  occurrence.child_item_id = child_item_id;
  occurrence.quantity = quantity;
  occurrence.name = name.empty() ? child_item_id : name;
  revision.occurrences.push_back(std::move(occurrence));
}

std::vector<std::string> SampleWorld::open_windows() const {
  std::vector<std::string> open;
  for (const auto& [uid, window] : product_->windows)
    if (window.open) open.push_back(uid);
  return open;
}

bool SampleWorld::ensure_bom_view(const std::string& revision_uid) {
  auto& revision = product_->revisions.at(revision_uid);
  if (!revision.bvr_uid.empty()) return false;
  revision.bvr_uid = "bvr-" + revision.item_id + "-" + revision.revision_id;
  revision.bvr_modified = Common::DateTime(product_->clock);
  add_object(revision.bvr_uid, kBomViewTypes,
             {str("object_name", revision.item_id + "/" + revision.revision_id + "-view"),
              str("object_type", "PSBOMViewRevision"), date("last_mod_date", revision.bvr_modified)});
  set_property(revision_uid, refs("structure_revisions", {revision.bvr_uid}));
  return true;
}

ItemFromIdReply SampleWorld::getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                           const std::vector<RelationFilterRecord>& filters) {
  ItemFromIdReply reply;
  UidList carried;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto& id = ids[i];
    auto item = product_->items.find(id.item_id);
    if (item == product_->items.end()) {
      reply.data.errors.push_back(
          error_of(static_cast<int>(i), id.item_id, 214108, "The item " + id.item_id + " does not exist."));
      continue;
    }
    ItemFromIdOutput output{item->second.uid, {}};
    std::vector<std::string> chosen;
    const auto& revisions = item->second.revisions;
    if (!id.revision_ids.empty()) {
      for (const auto& revision_id : id.revision_ids) {
        auto found = std::find_if(revisions.begin(), revisions.end(), [&](const auto& uid) {
          return product_->revisions.at(uid).revision_id == revision_id;
        });
        if (found != revisions.end()) {
          chosen.push_back(*found);
          continue;
        }
        reply.data.errors.push_back(error_of(static_cast<int>(i), id.item_id, 214109,
                                             "The revision " + id.item_id + "/" + revision_id + " does not exist."));
      }
    } else {
      const std::size_t wanted =
          revision_count < 0 ? revisions.size() : std::min<std::size_t>(revision_count, revisions.size());
      for (std::size_t n = 0; n < wanted; ++n) chosen.push_back(revisions[revisions.size() - 1 - n]);
    }
    carried.add(item->second.uid);
    for (const auto& uid : chosen) {
      ItemRevisionEntry entry{uid, ProductStructure::datasets_of(*this, uid, filters)};
      carried.add(uid);
      carried.add(entry.dataset_uids);
      output.revisions.push_back(std::move(entry));
    }
    reply.outputs.push_back(std::move(output));
  }
  auto errors = std::move(reply.data.errors);
  reply.data = reply_with(carried.uids(), kIdentity);
  reply.data.errors = std::move(errors);
  return reply;
}

BomWindowsReply SampleWorld::createBomWindows(const std::vector<BomWindowRequest>& requests) {
  BomWindowsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  std::vector<std::string> created;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto revision = product_->revisions.find(request.item_revision_uid);
    if (revision == product_->revisions.end()) {
      errors.push_back(error_of(static_cast<int>(i), request.client_id, 46027,
                                "The item revision " + request.item_revision_uid + " could not be found."));
      continue;
    }
    const std::string window_uid = "bomwindow-" + std::to_string(++product_->window_count);
    product_->windows[window_uid] = ProductStructure::Window{request.config.rule_uid, "", true, 0};
    const std::string top_line =
        ProductStructure::make_line(*this, window_uid, request.item_revision_uid, "", revision->second.item_id, 0, 0);
    product_->windows[window_uid].top_line = top_line;
    add_object(
        window_uid, kWindowTypes,
        {ref("top_line", top_line), ref("revision_rule", request.config.rule_uid), logical("is_precise", false)});
    reply.outputs.push_back({request.client_id, window_uid, top_line});
    created.push_back(window_uid);
    created.push_back(top_line);
    carried.add({window_uid, top_line, request.item_revision_uid});
  }
  reply.data = reply_with(carried.uids(), kIdentity);
  reply.data.created = std::move(created);
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData SampleWorld::closeBomWindows(const std::vector<std::string>& window_uids) {
  WireServiceData data;
  for (std::size_t i = 0; i < window_uids.size(); ++i) {
    auto window = product_->windows.find(window_uids[i]);
    if (window == product_->windows.end() || !window->second.open) {
      data.errors.push_back(
          error_of(static_cast<int>(i), window_uids[i], 46030, "The BOM window " + window_uids[i] + " is not open."));
      continue;
    }
    window->second.open = false;
  }
  return data;
}

ExpandBomLinesReply SampleWorld::expandBomLinesOneLevel(const std::vector<std::string>& line_uids,
                                                        const ExpandInfo& info) {
  ExpandBomLinesReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < line_uids.size(); ++i) {
    const auto& uid = line_uids[i];
    auto line = product_->lines.find(uid);
    if (line == product_->lines.end() || !product_->windows.at(line->second.window_uid).open) {
      errors.push_back(error_of(static_cast<int>(i), uid, 46031, "The BOM line " + uid + " is not in an open window."));
      continue;
    }
    BomLineExpansion output;
    output.parent = ProductStructure::line_data(*this, uid, info, carried);
    const auto& children = ProductStructure::children_of(*this, uid);
    output.children.reserve(children.size());
    for (const auto& child : children)
      output.children.push_back(ProductStructure::line_data(*this, child, info, carried));
    reply.outputs.push_back(std::move(output));
  }
  reply.data = reply_with(carried.uids(), kIdentity);
  reply.data.errors = std::move(errors);
  return reply;
}

BomLinesByPathReply SampleWorld::getBomLinesByPath(const std::vector<BomPathRequest>& requests) {
  BomLinesByPathReply reply;
  UidList carried;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    std::string scope;
    if (!ProductStructure::scope_line(*this, requests[i].scope_uid, &scope)) {
      reply.data.errors.push_back(error_of(static_cast<int>(i), requests[i].client_id, 46032,
                                           "The scope " + requests[i].scope_uid + " is no BOM window or line."));
      continue;
    }
    for (const auto& entry : requests[i].entries) {
      if (entry.path.empty()) continue;
      std::string current = scope;
      bool found = true;
      for (const auto& name : entry.path) {
        const auto& children = ProductStructure::children_of(*this, current);
        auto child = std::find_if(children.begin(), children.end(),
                                  [&](const auto& uid) { return product_->lines.at(uid).name == name; });
        if (child == children.end()) {
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
  reply.data = reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

ConfiguredRevisionsReply SampleWorld::getConfiguredRevisions(const std::vector<ConfiguredRevisionRequest>& requests) {
  ConfiguredRevisionsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto item = product_->item_ids.find(request.item_uid);
    if (item == product_->item_ids.end()) {
      errors.push_back(
          error_of(static_cast<int>(i), request.item_uid, 214108, "The item " + request.item_uid + " does not exist."));
      continue;
    }
    const std::string revision = ProductStructure::configured(*this, request.rule_uid, item->second);
    if (revision.empty()) continue;
    reply.outputs.push_back({request.item_uid, request.rule_uid, revision});
    carried.add({revision, request.item_uid});
  }
  reply.data = reply_with(carried.uids(), kIdentity);
  reply.data.errors = std::move(errors);
  return reply;
}

// Relative structure.

namespace {

template <class Entry, class Key>
void merge_entries(std::vector<Entry>& into, const std::vector<Entry>& from, Key key) {
  for (const auto& entry : from) {
    auto it = std::find_if(into.begin(), into.end(), [&](const Entry& e) { return key(e) == key(entry); });
    if (it == into.end()) {
      into.push_back(entry);
    } else {
      *it = entry;
    }
  }
}

const std::vector<std::string> kSavedNames = {"item_id", "item_revision_id", "items_tag", "structure_revisions",
                                              "last_mod_date", "occ_thread"};

// The older records as the 2007-12 ones, without a date to check.
RelativeStructureRecord2 newer(const RelativeStructureRecord& r) {
  return {Common::DateTime(), r.parent_uid, r.children, r.precise};
}
DeleteStructureRecord2 newer(const DeleteStructureRecord& r) { return {Common::DateTime(), r.parent_uid, r.thread_uids}; }

}  // namespace

std::unique_ptr<SampleWorld::SavedOccurrence> SampleWorld::saved_occurrence(const std::string& thread_uid) const {
  for (const auto& [uid, revision] : product_->revisions) {
    auto at = revision.by_thread.find(thread_uid);
    if (at == revision.by_thread.end()) continue;
    const auto& o = revision.occurrences[at->second];
    return std::make_unique<SavedOccurrence>(SavedOccurrence{uid, o.uid, o.thread_uid, o.child_item_id, o.cad_occ_id,
                                                             o.as_required, o.transform, o.notes, o.attributes});
  }
  return nullptr;
}

template <class Record>
RelativeStructureReply SampleWorld::save_structure(const std::vector<Record>& parents) {
  auto& store = *product_;
  RelativeStructureReply reply;
  std::vector<std::string> carried, created, updated;
  for (std::size_t i = 0; i < parents.size(); ++i) {
    const auto& record = parents[i];
    const int index = static_cast<int>(i);
    auto found = store.revisions.find(record.parent_uid);
    if (found == store.revisions.end()) {
      reply.data.errors.push_back(
          error_of(index, record.parent_uid, 46040, "The parent " + record.parent_uid + " is no item revision."));
      continue;
    }
    auto& revision = found->second;
    if (!record.last_modified.isNullDate() && !revision.bvr_uid.empty() &&
        !(record.last_modified == revision.bvr_modified)) {
      reply.data.errors.push_back(error_of(index, record.parent_uid, 46041,
                                           "The BOM view revision " + revision.bvr_uid + " was modified after " +
                                               record.last_modified.toString() + "."));
      continue;
    }
    if (ensure_bom_view(record.parent_uid)) created.push_back(revision.bvr_uid);
    for (const auto& child : record.children) {
      std::string child_item_id;
      if (!child.child_uid.empty()) {
        auto as_revision = store.revisions.find(child.child_uid);
        auto as_item = store.item_ids.find(child.child_uid);
        if (as_revision != store.revisions.end()) {
          child_item_id = as_revision->second.item_id;
        } else if (as_item != store.item_ids.end()) {
          child_item_id = as_item->second;
        } else {
          reply.data.errors.push_back(error_of(index, child.client_id, 46042,
                                               "The child " + child.child_uid + " is no item or item revision."));
          continue;
        }
      }
      auto known = child.cad_occ_id.empty() ? revision.by_cad_occ_id.end() : revision.by_cad_occ_id.find(child.cad_occ_id);
      if (known == revision.by_cad_occ_id.end() && child_item_id.empty()) {
        reply.data.errors.push_back(
            error_of(index, child.client_id, 46043, "The occurrence " + child.client_id + " names no child."));
        continue;
      }
      ProductStructure::Occurrence* occurrence = nullptr;
      if (known != revision.by_cad_occ_id.end()) {
        occurrence = &revision.occurrences[known->second];
        if (!child_item_id.empty()) occurrence->child_item_id = child_item_id;
        updated.push_back(occurrence->uid);
      } else {
        const std::string number = std::to_string(++store.occurrence_count);
        ProductStructure::Occurrence fresh;
        fresh.child_item_id = child_item_id;
        fresh.quantity = 0;
        fresh.name = child_item_id;
        fresh.uid = "occ-" + number;
        fresh.thread_uid = "thread-" + number;
        fresh.cad_occ_id = child.cad_occ_id;
        add_object(fresh.thread_uid, {"PSOccurrenceThread", "POM_object"});
        add_object(fresh.uid, {"PSOccurrence", "POM_object"}, {ref("occ_thread", fresh.thread_uid)});
        revision.by_thread[fresh.thread_uid] = revision.occurrences.size();
        if (!fresh.cad_occ_id.empty()) revision.by_cad_occ_id[fresh.cad_occ_id] = revision.occurrences.size();
        revision.occurrences.push_back(std::move(fresh));
        occurrence = &revision.occurrences.back();
        created.push_back(occurrence->uid);
      }
      if (!child.transform.empty()) occurrence->transform = child.transform;
      occurrence->as_required = child.as_required;
      merge_entries(occurrence->notes, child.notes, [](const OccurrenceNote& n) { return n.type; });
      merge_entries(occurrence->attributes, child.attributes, [](const OccurrenceAttribute& a) { return a.name; });
      reply.threads[child.client_id] = occurrence->thread_uid;
      carried.push_back(occurrence->uid);
      carried.push_back(occurrence->thread_uid);
    }
    store.clock += 60;
    revision.bvr_modified = Common::DateTime(store.clock);
    set_property(revision.bvr_uid, date("last_mod_date", revision.bvr_modified));
    carried.push_back(record.parent_uid);
    carried.push_back(revision.bvr_uid);
    updated.push_back(record.parent_uid);
    updated.push_back(revision.bvr_uid);
  }
  // Each UID once: a parent may come twice, and a child may be changed twice.
  std::unordered_set<std::string> seen;
  seen.reserve(carried.size());
  reply.data.objects.reserve(carried.size());
  for (const auto& uid : carried)
    if (seen.insert(uid).second) reply.data.objects.push_back(wire_object(uid, kSavedNames));
  reply.data.created = std::move(created);
  reply.data.updated = std::move(updated);
  return reply;
}

template <class Record>
WireServiceData SampleWorld::delete_structure(const std::vector<Record>& parents) {
  auto& store = *product_;
  WireServiceData data;
  std::vector<std::string> carried;
  for (std::size_t i = 0; i < parents.size(); ++i) {
    const auto& record = parents[i];
    const int index = static_cast<int>(i);
    auto found = store.revisions.find(record.parent_uid);
    if (found == store.revisions.end()) {
      data.errors.push_back(
          error_of(index, record.parent_uid, 46040, "The parent " + record.parent_uid + " is no item revision."));
      continue;
    }
    auto& revision = found->second;
    if (!record.last_modified.isNullDate() && !revision.bvr_uid.empty() &&
        !(record.last_modified == revision.bvr_modified)) {
      data.errors.push_back(error_of(index, record.parent_uid, 46041,
                                     "The BOM view revision " + revision.bvr_uid + " was modified after " +
                                         record.last_modified.toString() + "."));
      continue;
    }
    std::unordered_set<std::string> going;
    for (const auto& thread : record.thread_uids) {
      if (revision.by_thread.count(thread)) {
        going.insert(thread);
        continue;
      }
      data.errors.push_back(error_of(index, thread, 46044,
                                     "The occurrence thread " + thread + " is not in the structure of " +
                                         record.parent_uid + "."));
    }
    if (going.empty()) continue;
    auto& occurrences = revision.occurrences;
    auto kept = std::remove_if(occurrences.begin(), occurrences.end(), [&](const ProductStructure::Occurrence& o) {
      if (!going.count(o.thread_uid)) return false;
      data.deleted.push_back(o.uid);
      return true;
    });
    occurrences.erase(kept, occurrences.end());
    revision.by_thread.clear();
    revision.by_cad_occ_id.clear();
    for (std::size_t n = 0; n < occurrences.size(); ++n) {
      if (!occurrences[n].thread_uid.empty()) revision.by_thread[occurrences[n].thread_uid] = n;
      if (!occurrences[n].cad_occ_id.empty()) revision.by_cad_occ_id[occurrences[n].cad_occ_id] = n;
    }
    store.clock += 60;
    revision.bvr_modified = Common::DateTime(store.clock);
    set_property(revision.bvr_uid, date("last_mod_date", revision.bvr_modified));
    carried.push_back(record.parent_uid);
    carried.push_back(revision.bvr_uid);
    data.updated.push_back(record.parent_uid);
    data.updated.push_back(revision.bvr_uid);
  }
  std::unordered_set<std::string> seen;
  for (const auto& uid : carried)
    if (seen.insert(uid).second) data.objects.push_back(wire_object(uid, kSavedNames));
  return data;
}

RelativeStructureReply SampleWorld::createOrUpdateRelativeStructure(const std::vector<RelativeStructureRecord>& parents,
                                                                   const std::string&, bool,
                                                                   const RelativeStructureOptions&) {
  std::vector<RelativeStructureRecord2> records;
  records.reserve(parents.size());
  for (const auto& record : parents) records.push_back(newer(record));
  return save_structure(records);
}

RelativeStructureReply SampleWorld::createOrUpdateRelativeStructure2(
    const std::vector<RelativeStructureRecord2>& parents, const std::string&, bool, const RelativeStructureOptions2&) {
  return save_structure(parents);
}

WireServiceData SampleWorld::deleteRelativeStructure(const std::vector<DeleteStructureRecord>& parents,
                                                     const std::string&, const RelativeStructureOptions&) {
  std::vector<DeleteStructureRecord2> records;
  records.reserve(parents.size());
  for (const auto& record : parents) records.push_back(newer(record));
  return delete_structure(records);
}

WireServiceData SampleWorld::deleteRelativeStructure2(const std::vector<DeleteStructureRecord2>& parents,
                                                      const std::string&, const RelativeStructureOptions2&) {
  return delete_structure(parents);
}

}  // namespace Halden::Soa::Server
