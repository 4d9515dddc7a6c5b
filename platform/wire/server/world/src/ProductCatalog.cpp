#include "halden/server/world/ProductCatalog.h"

#include <algorithm>
#include <stdexcept>

namespace Halden::Soa::Server {

namespace {

using namespace props;

const std::vector<std::string> kItemTypes = {"Item", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kRevisionTypes = {"ItemRevision", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kBomViewTypes = {"PSBOMViewRevision", "WorkspaceObject", "POM_object"};
const std::vector<std::string> kDatasetTypes = {"Dataset", "WorkspaceObject", "POM_object"};

bool has_type(const WorldStore::StoredObject& object, const char* type) {
  return std::find(object.types.begin(), object.types.end(), type) != object.types.end();
}

}  // namespace

const std::vector<std::string>& ProductCatalog::identity() {
  static const std::vector<std::string> names = {"item_id", "item_revision_id", "items_tag", "structure_revisions"};
  return names;
}

std::string ProductCatalog::add_item(const std::string& item_id, const std::string& name) {
  const std::string uid = "item-" + item_id;
  store_.add_object(
      uid, kItemTypes,
      {str("item_id", item_id), str("object_name", name), str("object_type", "Item"), refs("revision_list", {})});
  items_[item_id] = Item{uid, name, {}};
  item_ids_[uid] = item_id;
  return uid;
}

std::string ProductCatalog::add_item_revision(const std::string& item_id, const std::string& revision_id,
                                              bool released) {
  auto& item = items_.at(item_id);
  const std::string uid = "rev-" + item_id + "-" + revision_id;
  store_.add_object(uid, kRevisionTypes,
                    {str("item_revision_id", revision_id), str("item_id", item_id), str("object_name", item.name),
                     str("object_type", "ItemRevision"), ref("items_tag", item.uid), refs("structure_revisions", {}),
                     str("release_status", released ? "Released" : "")});
  revisions_[uid] = Revision{item_id, revision_id, "", released, {}, {}, {}, {}, {}};
  item.revisions.push_back(uid);
  store_.set_property(item.uid, refs("revision_list", item.revisions));
  return uid;
}

void ProductCatalog::add_dataset(const std::string& uid, const std::string& item_id, const std::string& revision_id,
                                 const std::string& relation, const std::string& type, const std::string& name) {
  const std::string revision_uid = "rev-" + item_id + "-" + revision_id;
  auto& revision = revisions_.at(revision_uid);
  store_.add_object(uid, kDatasetTypes, {str("object_name", name), str("object_type", type)});
  revision.datasets.push_back({relation, uid, type});
  // The relation's list grows by the one dataset, so that many datasets of
  // one revision cost one step each; a list written otherwise is rebuilt.
  auto& stored = store_.find(revision_uid)->properties;
  auto list = stored.find(relation);
  if (list != stored.end() && list->second.type == ValueType::Reference && list->second.is_array &&
      !list->second.is_null) {
    list->second.references.push_back(uid);
    return;
  }
  std::vector<std::string> related;
  for (const auto& d : revision.datasets)
    if (d.relation == relation) related.push_back(d.uid);
  store_.set_property(revision_uid, refs(relation, std::move(related)));
}

std::string ProductCatalog::add_dataset_file(const std::string& dataset_uid, const std::string& reference_name,
                                             const std::string& file_name) {
  WorldStore::StoredObject* dataset = store_.find(dataset_uid);
  if (!dataset) throw std::out_of_range("no dataset " + dataset_uid);
  auto& list = dataset->properties["ref_list"];
  if (list.name.empty()) list = refs("ref_list", {});
  auto& names = dataset->properties["ref_names"];
  if (names.name.empty()) names = strs("ref_names", {});
  // Numbered on from the dataset's references; a number whose file a removed
  // reference left behind is passed over.
  std::string uid;
  for (std::size_t n = list.references.size() + 1; uid.empty() || store_.find(uid); ++n)
    uid = "file-" + dataset_uid + "-" + std::to_string(n);
  list.references.push_back(uid);
  names.strings.push_back(reference_name);
  store_.add_object(uid, {"OstraFile", "POM_application_object", "POM_object"},
                    {str("original_file_name", file_name), str("object_type", "OstraFile")});
  return uid;
}

void ProductCatalog::add_occurrence(const std::string& item_id, const std::string& revision_id,
                                    const std::string& child_item_id, int quantity, const std::string& name) {
  const std::string revision_uid = "rev-" + item_id + "-" + revision_id;
  auto& revision = revisions_.at(revision_uid);
  items_.at(child_item_id);  // the child must exist
  ensure_bom_view(revision_uid);
  Occurrence occurrence;
  occurrence.child_item_id = child_item_id;
  occurrence.quantity = quantity;
  occurrence.name = name.empty() ? child_item_id : name;
  revision.occurrences.push_back(std::move(occurrence));
}

ProductCatalog::Revision* ProductCatalog::revision_to_change(const std::string& revision_uid) {
  auto it = revisions_.find(revision_uid);
  return it == revisions_.end() ? nullptr : &it->second;
}

bool ProductCatalog::ensure_bom_view(const std::string& revision_uid) {
  auto& revision = revisions_.at(revision_uid);
  if (!revision.bvr_uid.empty()) return false;
  revision.bvr_uid = "bvr-" + revision.item_id + "-" + revision.revision_id;
  revision.bvr_modified = Common::DateTime(clock_);
  store_.add_object(revision.bvr_uid, kBomViewTypes,
                    {str("object_name", revision.item_id + "/" + revision.revision_id + "-view"),
                     str("object_type", "PSBOMViewRevision"), date("last_mod_date", revision.bvr_modified)});
  store_.set_property(revision_uid, refs("structure_revisions", {revision.bvr_uid}));
  return true;
}

void ProductCatalog::touch_bom_view(Revision& revision) {
  clock_ += 60;
  revision.bvr_modified = Common::DateTime(clock_);
  store_.set_property(revision.bvr_uid, date("last_mod_date", revision.bvr_modified));
}

const ProductCatalog::Item* ProductCatalog::item(const std::string& item_id) const {
  auto it = items_.find(item_id);
  return it == items_.end() ? nullptr : &it->second;
}

const std::string* ProductCatalog::item_id_of(const std::string& item_uid) const {
  auto it = item_ids_.find(item_uid);
  return it == item_ids_.end() ? nullptr : &it->second;
}

const ProductCatalog::Revision* ProductCatalog::revision(const std::string& revision_uid) const {
  auto it = revisions_.find(revision_uid);
  return it == revisions_.end() ? nullptr : &it->second;
}

std::vector<std::string> ProductCatalog::datasets_of(const std::string& revision_uid,
                                                     const std::vector<RelationFilterRecord>& filters) const {
  std::vector<std::string> out;
  for (const auto& d : revisions_.at(revision_uid).datasets) {
    const bool wanted =
        filters.empty() || std::any_of(filters.begin(), filters.end(), [&](const auto& f) {
          return f.relation == d.relation &&
                 (f.types.empty() || std::find(f.types.begin(), f.types.end(), d.type) != f.types.end());
        });
    if (wanted) out.push_back(d.uid);
  }
  return out;
}

std::string ProductCatalog::configured(const std::string& rule_uid, const std::string& item_id) const {
  const auto& revisions = items_.at(item_id).revisions;
  if (revisions.empty()) return {};
  const auto* rule = rule_uid.empty() ? nullptr : store_.find(rule_uid);
  if (!rule) return revisions.back();
  auto entries = rule->properties.find("entry_list");
  if (entries == rule->properties.end()) return revisions.back();
  for (const auto& entry_uid : entries->second.references) {
    const auto* entry = store_.find(entry_uid);
    if (!entry) continue;
    if (has_type(*entry, "CFMWorkingEntry")) return revisions.back();
    if (!has_type(*entry, "CFMStatusEntry")) continue;
    for (auto it = revisions.rbegin(); it != revisions.rend(); ++it)
      if (revisions_.at(*it).released) return *it;
  }
  return {};
}

}  // namespace Halden::Soa::Server
