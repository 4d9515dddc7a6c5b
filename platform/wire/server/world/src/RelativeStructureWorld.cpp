// Relative structure in the sample world: child occurrences created,
// changed and removed in the BOM views of the catalog's revisions.
#include <algorithm>
#include <unordered_set>

#include "halden/server/world/StructureManagementWorld.h"

namespace Halden::Soa::Server {

using namespace props;

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

const std::vector<std::string> kSavedNames = {"item_id",       "item_revision_id", "items_tag", "structure_revisions",
                                              "last_mod_date", "occ_thread"};

// The older records as the 2007-12 ones, without a date to check.
RelativeStructureRecord2 newer(const RelativeStructureRecord& r) {
  return {Common::DateTime(), r.parent_uid, r.children, r.precise};
}
DeleteStructureRecord2 newer(const DeleteStructureRecord& r) {
  return {Common::DateTime(), r.parent_uid, r.thread_uids};
}

}  // namespace

std::unique_ptr<StructureManagementWorld::SavedOccurrence> StructureManagementWorld::saved_occurrence(
    const std::string& thread_uid) const {
  for (const auto& [uid, revision] : catalog_.revisions()) {
    auto at = revision.by_thread.find(thread_uid);
    if (at == revision.by_thread.end()) continue;
    const auto& o = revision.occurrences[at->second];
    return std::make_unique<SavedOccurrence>(SavedOccurrence{uid, o.uid, o.thread_uid, o.child_item_id, o.cad_occ_id,
                                                             o.as_required, o.transform, o.notes, o.attributes});
  }
  return nullptr;
}

template <class Record>
RelativeStructureReply StructureManagementWorld::save_structure(const std::vector<Record>& parents) {
  RelativeStructureReply reply;
  std::vector<std::string> carried, created, updated;
  for (std::size_t i = 0; i < parents.size(); ++i) {
    const auto& record = parents[i];
    const int index = static_cast<int>(i);
    auto found = catalog_.revision_to_change(record.parent_uid);
    if (!found) {
      reply.data.errors.push_back(WorldStore::error_of(index, record.parent_uid, 46040,
                                                       "The parent " + record.parent_uid + " is no item revision."));
      continue;
    }
    auto& revision = *found;
    if (!record.last_modified.isNullDate() && !revision.bvr_uid.empty() &&
        !(record.last_modified == revision.bvr_modified)) {
      reply.data.errors.push_back(WorldStore::error_of(index, record.parent_uid, 46041,
                                                       "The BOM view revision " + revision.bvr_uid +
                                                           " was modified after " + record.last_modified.toString() +
                                                           "."));
      continue;
    }
    if (catalog_.ensure_bom_view(record.parent_uid)) created.push_back(revision.bvr_uid);
    for (const auto& child : record.children) {
      std::string child_item_id;
      if (!child.child_uid.empty()) {
        const auto* as_revision = catalog_.revision(child.child_uid);
        const auto* as_item = catalog_.item_id_of(child.child_uid);
        if (as_revision) {
          child_item_id = as_revision->item_id;
        } else if (as_item) {
          child_item_id = *as_item;
        } else {
          reply.data.errors.push_back(WorldStore::error_of(
              index, child.client_id, 46042, "The child " + child.child_uid + " is no item or item revision."));
          continue;
        }
      }
      auto known =
          child.cad_occ_id.empty() ? revision.by_cad_occ_id.end() : revision.by_cad_occ_id.find(child.cad_occ_id);
      if (known == revision.by_cad_occ_id.end() && child_item_id.empty()) {
        reply.data.errors.push_back(WorldStore::error_of(index, child.client_id, 46043,
                                                         "The occurrence " + child.client_id + " names no child."));
        continue;
      }
      ProductCatalog::Occurrence* occurrence = nullptr;
      if (known != revision.by_cad_occ_id.end()) {
        occurrence = &revision.occurrences[known->second];
        if (!child_item_id.empty()) occurrence->child_item_id = child_item_id;
        updated.push_back(occurrence->uid);
      } else {
        const std::string number = std::to_string(catalog_.next_occurrence());
        ProductCatalog::Occurrence fresh;
        fresh.child_item_id = child_item_id;
        fresh.quantity = 0;
        fresh.name = child_item_id;
        fresh.uid = "occ-" + number;
        fresh.thread_uid = "thread-" + number;
        fresh.cad_occ_id = child.cad_occ_id;
        store_.add_object(fresh.thread_uid, {"PSOccurrenceThread", "POM_object"});
        store_.add_object(fresh.uid, {"PSOccurrence", "POM_object"}, {ref("occ_thread", fresh.thread_uid)});
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
    catalog_.touch_bom_view(revision);
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
    if (seen.insert(uid).second) reply.data.objects.push_back(store_.wire_object(uid, kSavedNames));
  reply.data.created = std::move(created);
  reply.data.updated = std::move(updated);
  return reply;
}

template <class Record>
WireServiceData StructureManagementWorld::delete_structure(const std::vector<Record>& parents) {
  WireServiceData data;
  std::vector<std::string> carried;
  for (std::size_t i = 0; i < parents.size(); ++i) {
    const auto& record = parents[i];
    const int index = static_cast<int>(i);
    auto found = catalog_.revision_to_change(record.parent_uid);
    if (!found) {
      data.errors.push_back(WorldStore::error_of(index, record.parent_uid, 46040,
                                                 "The parent " + record.parent_uid + " is no item revision."));
      continue;
    }
    auto& revision = *found;
    if (!record.last_modified.isNullDate() && !revision.bvr_uid.empty() &&
        !(record.last_modified == revision.bvr_modified)) {
      data.errors.push_back(WorldStore::error_of(index, record.parent_uid, 46041,
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
      data.errors.push_back(WorldStore::error_of(
          index, thread, 46044,
          "The occurrence thread " + thread + " is not in the structure of " + record.parent_uid + "."));
    }
    if (going.empty()) continue;
    auto& occurrences = revision.occurrences;
    auto kept = std::remove_if(occurrences.begin(), occurrences.end(), [&](const ProductCatalog::Occurrence& o) {
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
    catalog_.touch_bom_view(revision);
    carried.push_back(record.parent_uid);
    carried.push_back(revision.bvr_uid);
    data.updated.push_back(record.parent_uid);
    data.updated.push_back(revision.bvr_uid);
  }
  std::unordered_set<std::string> seen;
  for (const auto& uid : carried)
    if (seen.insert(uid).second) data.objects.push_back(store_.wire_object(uid, kSavedNames));
  return data;
}

RelativeStructureReply StructureManagementWorld::createOrUpdateRelativeStructure(
    const std::vector<RelativeStructureRecord>& parents, const std::string&, bool, const RelativeStructureOptions&) {
  std::vector<RelativeStructureRecord2> records;
  records.reserve(parents.size());
  for (const auto& record : parents) records.push_back(newer(record));
  return save_structure(records);
}

RelativeStructureReply StructureManagementWorld::createOrUpdateRelativeStructure2(
    const std::vector<RelativeStructureRecord2>& parents, const std::string&, bool, const RelativeStructureOptions2&) {
  return save_structure(parents);
}

WireServiceData StructureManagementWorld::deleteRelativeStructure(const std::vector<DeleteStructureRecord>& parents,
                                                                  const std::string&, const RelativeStructureOptions&) {
  std::vector<DeleteStructureRecord2> records;
  records.reserve(parents.size());
  for (const auto& record : parents) records.push_back(newer(record));
  return delete_structure(records);
}

WireServiceData StructureManagementWorld::deleteRelativeStructure2(const std::vector<DeleteStructureRecord2>& parents,
                                                                   const std::string&,
                                                                   const RelativeStructureOptions2&) {
  return delete_structure(parents);
}

}  // namespace Halden::Soa::Server
