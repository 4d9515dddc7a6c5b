#include "kestrel_relstruct.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <variant>
#include <vector>

#include "cadlink/tovmgr.h"
#include "corerun/clock.h"
#include "corerun/error.h"
#include "corerun/memory.h"
#include "corerun/ustring.h"
#include "halden/services/cad/StructuremanagementService.h"
#include "halden/soa/client/model/Structure.h"
#include "halden/soa/common/DateTime.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_pointer_table.h"
#include "kestrel_request.h"
#include "kestrel_scoped.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"

namespace Cad = Halden::Services::Cad;
namespace Model = Halden::Soa::Client::Model;
using Cad::StructuremanagementService;
using Halden::Soa::Client::ModelObject;
using Halden::Soa::Common::DateTime;
using kestrel::or_empty;
using Orvane::PdmSoa::Component;
using HostObject = Orvane::PdmSoa::ModelObject;
using Texts = std::map<std::string, std::string>;
using Components = std::map<std::string, Component*>;

// The batches belong to the BOM area: their errors name its source file.
#define BATCH_HERE (::kestrel::Site{"kestrel_bom.cpp", __LINE__})
#define BATCH_RAISE(code, ...) ERROR_raise("kestrel_bom.cpp", __LINE__, code, __VA_ARGS__)

namespace {

constexpr const char* kDebugSaveAssy = "TOVMGR_soa_save_assy";
constexpr const char* kCadOccIdAttribute = "bl_occurrence_uid";

bool debugging() { return kestrel::debug_enabled(kDebugSaveAssy); }
const char* true_false(bool value) { return value ? "TRUE" : "FALSE"; }

// The positions of a parent's children by CompId: open addressing over the
// ids, so a parent of many children holds one table instead of a node per
// child, made when it is added and freed with the batch.
class CompIndex {
 public:
  // The position held for the id, made from position when the id is new,
  // and whether it was.
  std::pair<std::size_t, bool> try_emplace(int comp_id, std::size_t position) {
    if (2 * (size_ + 1) > slots_.size()) grow();
    Slot& slot = slot_of(comp_id);
    if (slot.used) return {slot.position, false};
    slot = {comp_id, true, position};
    ++size_;
    return {position, true};
  }

 private:
  struct Slot {
    int comp_id = 0;
    bool used = false;
    std::size_t position = 0;
  };

  // The id's slot, or the free one where it would go; the product's upper
  // half spreads ids that differ in their high bits only.
  Slot& slot_of(int comp_id) {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t bits = static_cast<std::uint32_t>(comp_id);
    for (std::size_t i = static_cast<std::size_t>(bits * 0x9E3779B97F4A7C15ull >> 32) & mask;; i = (i + 1) & mask)
      if (!slots_[i].used || slots_[i].comp_id == comp_id) return slots_[i];
  }

  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : 2 * slots_.size());
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.used) slot_of(slot.comp_id) = slot;
  }

  std::vector<Slot> slots_;  // a power of two, at most half full
  std::size_t size_ = 0;
};

using KeyPositions = std::unordered_map<std::string, std::size_t>;

// Where each note type and attribute name of a child sits in its lists.
struct ChildKeys {
  KeyPositions notes;
  KeyPositions attributes;
};

// What the batches keep beside each parent record: its AssyId and, in an
// update batch, the positions of its children by CompId and the keys of the
// children merged into more than once.
struct ParentEntry {
  int assy_id;
  CompIndex comp_index;                                   // idToCompUpdateIndex of this parent
  std::unordered_map<std::size_t, ChildKeys> child_keys;  // by child position
};

template <class Record>
struct Batch {
  std::vector<Record> parents;
  std::vector<ParentEntry> entries;                 // one per parent record
  std::unordered_map<int, std::size_t> assy_index;  // idToAssyUpdateIndex: AssyId -> newest record
};

using OlderUpdate = Batch<Cad::RelativeStructureInfo>;
using NewerUpdate = Batch<Cad::RelativeStructureInfo2>;
using OlderDelete = Batch<Cad::DeleteRelativeStructureInfo>;
using NewerDelete = Batch<Cad::DeleteRelativeStructureInfo2>;

using UpdateBatch = std::variant<std::monostate, OlderUpdate, NewerUpdate>;
using DeleteBatch = std::variant<std::monostate, OlderDelete, NewerDelete>;
UpdateBatch update_batch;
DeleteBatch delete_batch;

// Whether a visited alternative is a batch (and not the absence of one).
template <class Alternative>
constexpr bool is_batch = !std::is_same_v<std::decay_t<Alternative>, std::monostate>;

[[noreturn]] void not_started(int assy_id, const char* entry) {
  BATCH_RAISE(940208, "KRAL SOA: No StartAssy for AssyId %d in %s", assy_id, entry);
}

// The position of the newest record of assy_id.
template <class Record>
std::size_t position_of(const Batch<Record>& batch, int assy_id, const char* entry) {
  auto at = batch.assy_index.find(assy_id);
  if (at == batch.assy_index.end()) not_started(assy_id, entry);
  return at->second;
}

std::size_t children_of(const Cad::RelativeStructureInfo& r) { return r.childInfo.size(); }
std::size_t children_of(const Cad::RelativeStructureInfo2& r) { return r.childInfo.size(); }
std::size_t children_of(const Cad::DeleteRelativeStructureInfo& r) { return r.childInfo.size(); }
std::size_t children_of(const Cad::DeleteRelativeStructureInfo2& r) { return r.childInfo.size(); }

// The BOM view date the host last saw, as a 2007-12 record carries it.
DateTime last_modified(bool update, const date_s* given) {
  const date_s date = given ? *given : null_date;
  if (!CLOCK_valid_date(&date)) {
    if (update)
      BATCH_RAISE(940208, "KRAL SOA: Invalid reprev_date_on_sync in KESTREL_RelativeStructureUpdateStartAssy");
    BATCH_RAISE(940208, "KRAL SOA: Invalid reprev_date_on_sync in KESTREL_RelativeStructureDeleteStartAssy");
  }
  const bool debug = debugging();
  const std::int64_t time = CLOCK_date_to_time(&date);
  if (debug && time != 0) {
    char* text = nullptr;
    CLOCK_get_date_string(&date, true, &text);
    const kestrel::SmString owned(text);
    if (update) {
      ERROR_lprintf("KESTREL_RelativeStructureUpdateStartAssy reprev_date_on_sync = %s\n", or_empty(text));
    } else {
      ERROR_lprintf("KESTREL_RelativeStructureDeleteStartAssy reprev_date_on_sync = %s\n", or_empty(text));
    }
  }
  if (CLOCK_compare_dates(&date, &null_date) != 0) {
    if (debug && update) RDEBUG_print_message("KESTREL_RelativeStructureUpdateStartAssy got a vaild date");
    if (debug && !update) RDEBUG_print_message("KESTREL_RelativeStructureDeleteStartAssy got a vaild date");
    return DateTime(time);
  }
  if (debug && update) RDEBUG_print_message("KESTREL_RelativeStructureUpdateStartAssy null_date");
  if (debug && !update) RDEBUG_print_message("KESTREL_RelativeStructureDeleteStartAssy null_date");
  return DateTime::getNullDate();
}

ModelObject* server_parent_of(HostObject* parent) {
  ModelObject* object = parent->GetObjectPtr();
  if (!object) BATCH_RAISE(940209, "KRAL SOA: Error getting SOA object from KRAL object");
  return object;
}

// Appends the parent's record and registers it under its AssyId; answers its
// position.
template <class Record>
std::size_t register_parent(Batch<Record>& batch, int assy_id, Record record) {
  const std::size_t position = batch.parents.size();
  batch.parents.push_back(std::move(record));
  batch.entries.push_back({assy_id, {}, {}});
  batch.assy_index[assy_id] = position;
  return position;
}

// Drops the parents without children, keeping the order of the others, and
// points every AssyId at its newest remaining record again: an AssyId whose
// newest record went names its older one from now on.
template <class Record, class Removed>
void remove_childless(Batch<Record>& batch, Removed&& removed) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < batch.parents.size(); ++i) {
    if (children_of(batch.parents[i]) == 0) {
      removed(batch.parents[i]);
      continue;
    }
    if (kept != i) {
      batch.parents[kept] = std::move(batch.parents[i]);
      batch.entries[kept] = std::move(batch.entries[i]);
    }
    ++kept;
  }
  batch.parents.resize(kept);
  batch.entries.resize(kept);
  batch.assy_index.clear();
  for (std::size_t i = 0; i < kept; ++i) batch.assy_index[batch.entries[i].assy_id] = i;
}

void print_removed(const ModelObject* parent) {
  RDEBUG_print_message("childSizeIsZero removing parent uid=%s\n", parent->getUid().c_str());
}

// The decimal number the text begins with.
int parse_int(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The batch dumps, written out per layout as they print.

void dump_transform(const std::vector<double>& transform) {
  if (transform.empty()) {
    ERROR_lprintf("  [ ... NULL transform ... ]\n\n");
    return;
  }
  for (unsigned k = 0; k < 16 && k < transform.size(); ++k)
    ERROR_lprintf("  [%02u] %.17g  %c", k + 1, transform[k], k % 4 == 3 ? '\n' : '|');
  ERROR_lprintf("\n");
}

void dump(const OlderUpdate& batch) {
  for (std::size_t n = 0; n < batch.parents.size(); ++n) {
    const auto& parent = batch.parents[n];
    const int i = static_cast<int>(n);
    ERROR_lprintf("parent uid[%d]=%s\n", i, parent.parent->getUid().c_str());
    ERROR_lprintf("precise[%d]=%s\n", i, true_false(parent.precise));
    if (parent.childInfo.empty()) ERROR_lprintf("relStructInfoUpdateList[%d] no children\n", i);
    for (std::size_t m = 0; m < parent.childInfo.size(); ++m) {
      const auto& child = parent.childInfo[m];
      const int j = static_cast<int>(m);
      ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].clientId =%s\n", i, j, child.clientId.c_str());
      ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].cadOccId =%s\n", i, j, child.cadOccId.c_str());
      ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].asRequired =%s\n", i, j,
                    true_false(child.occInfo.asRequired));
      if (child.child) {
        ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].child_uid =%s\n", i, j, child.child->getUid().c_str());
      } else {
        ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].child not set OK for attrs\n", i, j);
      }
      for (std::size_t k = 0; k < child.occInfo.occNotes.size(); ++k) {
        const auto& note = child.occInfo.occNotes[k];
        ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].occInfo.occNotes[%d].note %s=%s\n", i, j,
                      static_cast<int>(k), note.noteType.c_str(), note.noteText.c_str());
      }
      for (std::size_t k = 0; k < child.occInfo.attrsToSet.size(); ++k) {
        const auto& attr = child.occInfo.attrsToSet[k];
        ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].occInfo.attrsToSet[%d].attr %s=%s\n", i, j,
                      static_cast<int>(k), attr.name.c_str(), attr.value.c_str());
      }
      ERROR_lprintf("relStructInfoUpdateList[%d].ChildInfo[%d].occInfo.occTransform\n", i, j);
      dump_transform(child.occInfo.occTransform);
    }
  }
}

void dump(const NewerUpdate& batch) {
  for (std::size_t n = 0; n < batch.parents.size(); ++n) {
    const auto& parent = batch.parents[n];
    const int i = static_cast<int>(n);
    ERROR_lprintf("parent uid[%d]=%s\n", i, parent.parent->getUid().c_str());
    ERROR_lprintf("precise[%d]=%s\n", i, true_false(parent.precise));
    ERROR_lprintf("lastModifiedOfBVR[%d]=%s\n", i, parent.lastModifiedOfBVR.toString().c_str());
    if (parent.childInfo.empty()) ERROR_lprintf("relStructInfoUpdateList2[%d] no children\n", i);
    for (std::size_t m = 0; m < parent.childInfo.size(); ++m) {
      const auto& child = parent.childInfo[m];
      const int j = static_cast<int>(m);
      ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].clientId =%s\n", i, j, child.clientId.c_str());
      ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].cadOccId =%s\n", i, j, child.cadOccId.c_str());
      ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].asRequired =%s\n", i, j,
                    true_false(child.occInfo.asRequired));
      if (child.child) {
        ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].child_uid =%s\n", i, j,
                      child.child->getUid().c_str());
      } else {
        ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].child not set OK for attrs\n", i, j);
      }
      for (std::size_t k = 0; k < child.occInfo.occNotes.size(); ++k) {
        const auto& note = child.occInfo.occNotes[k];
        ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].occInfo.occNotes[%d].note %s=%s\n", i, j,
                      static_cast<int>(k), note.noteType.c_str(), note.noteText.c_str());
      }
      for (std::size_t k = 0; k < child.occInfo.attrsToSet.size(); ++k) {
        const auto& attr = child.occInfo.attrsToSet[k];
        ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].occInfo.attrsToSet[%d].attr %s=%s\n", i, j,
                      static_cast<int>(k), attr.name.c_str(), attr.value.c_str());
      }
      ERROR_lprintf("relStructInfoUpdateList2[%d].ChildInfo[%d].occInfo.occTransform\n", i, j);
      dump_transform(child.occInfo.occTransform);
    }
  }
}

void dump(const OlderDelete& batch) {
  for (std::size_t n = 0; n < batch.parents.size(); ++n) {
    const auto& parent = batch.parents[n];
    const int i = static_cast<int>(n);
    ERROR_lprintf("parent uid[%d]=%s\n", i, parent.parent->getUid().c_str());
    if (parent.childInfo.empty()) ERROR_lprintf("relStructInfoDeleteList[%d] no children\n", i);
    for (std::size_t j = 0; j < parent.childInfo.size(); ++j)
      ERROR_lprintf("relStructInfoDeleteList[%d].ChildInfo[%d]=%s\n", i, static_cast<int>(j),
                    parent.childInfo[j].c_str());
  }
}

void dump(const NewerDelete& batch) {
  for (std::size_t n = 0; n < batch.parents.size(); ++n) {
    const auto& parent = batch.parents[n];
    const int i = static_cast<int>(n);
    ERROR_lprintf("parent uid[%d]=%s\n", i, parent.parent->getUid().c_str());
    ERROR_lprintf("lastModifiedOfBVR[%d]=%s\n", i, parent.lastModifiedOfBVR.toString().c_str());
    if (parent.childInfo.empty()) ERROR_lprintf("relStructInfoDeleteList2[%d] no children\n", i);
    for (std::size_t j = 0; j < parent.childInfo.size(); ++j)
      ERROR_lprintf("relStructInfoDeleteList2[%d].ChildInfo[%d]=%s\n", i, static_cast<int>(j),
                    parent.childInfo[j].c_str());
  }
}

Cad::RelativeStructurePref options_of(const Cad::RelativeStructureInfo&) { return {kCadOccIdAttribute, {}}; }
Cad::RelativeStructurePref2 options_of(const Cad::RelativeStructureInfo2&) { return {true, kCadOccIdAttribute, {}}; }
Cad::RelativeStructurePref options_of(const Cad::DeleteRelativeStructureInfo&) { return {kCadOccIdAttribute, {}}; }
Cad::RelativeStructurePref2 options_of(const Cad::DeleteRelativeStructureInfo2&) {
  return {true, kCadOccIdAttribute, {}};
}

// Notes and attributes merge into the entry of the same key. The keys of
// one list are unique (a key is appended only when no entry has it), so the
// first entry of a key is its only one.
template <class Entry>
class Merge {
 public:
  // positions: the list's keys, kept with the child; null when the list is
  // empty, as then every key of the host's map is new.
  Merge(std::vector<Entry>& entries, std::string Entry::*key_field, KeyPositions* positions, std::size_t incoming)
      : entries_(entries), key_field_(key_field), positions_(positions) {
    if (!positions_) {
      entries_.reserve(incoming);
      return;
    }
    // A list as long as its index is all in it; else the index is made anew.
    if (positions_->size() == entries_.size()) return;
    positions_->clear();
    positions_->reserve(entries_.size() + incoming);
    for (std::size_t i = 0; i < entries_.size(); ++i) positions_->emplace(entries_[i].*key_field_, i);
  }

  // The entry of the key, and whether it is new (then appended, key set).
  std::pair<Entry*, bool> entry_for(const std::string& key) {
    if (positions_) {
      auto [at, added] = positions_->try_emplace(key, entries_.size());
      if (!added) return {&entries_[at->second], false};
    }
    entries_.emplace_back();
    entries_.back().*key_field_ = key;
    return {&entries_.back(), true};
  }

 private:
  std::vector<Entry>& entries_;
  std::string Entry::*key_field_;
  KeyPositions* positions_;
};

void merge_notes(Cad::OccInfo& info, const Texts& notes, KeyPositions* positions, bool debug) {
  Merge<Cad::OccNote> merge(info.occNotes, &Cad::OccNote::noteType, positions, notes.size());
  for (const auto& [type, text] : notes) {
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild     Note=%s value=%s", type.c_str(), text.c_str());
    auto [note, added] = merge.entry_for(type);
    note->noteText = text;
    if (!debug) continue;
    if (added) {
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild add noteType=%s noteText=%s", type.c_str(), text.c_str());
    } else {
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild modifying noteType=%s noteText=%s", type.c_str(),
                           text.c_str());
    }
  }
}

void merge_attributes(Cad::OccInfo& info, const Texts& attributes, KeyPositions* positions, bool debug) {
  Merge<Cad::AttributesInfo> merge(info.attrsToSet, &Cad::AttributesInfo::name, positions, attributes.size());
  for (const auto& [name, value] : attributes) {
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild     Attr=%s value=%s", name.c_str(), value.c_str());
    auto [attr, added] = merge.entry_for(name);
    attr->value = value;
    if (debug && added)
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild add attr name=%s value=%s\n", name.c_str(),
                           value.c_str());
  }
}

template <class Record>
std::string add_child(Batch<Record>& batch, int assy_id, int comp_id, HostObject* child, std::string cad_occ_id,
                      const double* transform, bool as_required, const Texts* notes, const Texts* attributes) {
  const std::size_t at = position_of(batch, assy_id, "KESTREL_RelativeStructureAddChild");
  const bool debug = debugging();
  if (debug) RDEBUG_print_message("KESTREL_RelativeStructureAddChild created AssyId =%d CompId=%d ", assy_id, comp_id);
  Record& parent = batch.parents[at];
  const auto [index, added] = batch.entries[at].comp_index.try_emplace(comp_id, parent.childInfo.size());
  const int position = static_cast<int>(index);
  if (added) {
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild created CompId=%d idToCompUpdateIndex[CompId]=%d",
                           comp_id, position);
    char client_id[32];
    std::snprintf(client_id, sizeof client_id, "%d_%d", assy_id, comp_id);
    parent.childInfo.emplace_back();
    parent.childInfo.back().clientId = client_id;
  } else if (debug) {
    RDEBUG_print_message("KESTREL_RelativeStructureAddChild found CompId=%d idToCompUpdateIndex[CompId]=%d", comp_id,
                         position);
  }

  Cad::ChildInfo& info = parent.childInfo[index];
  if (ModelObject* object = child ? child->GetObjectPtr() : nullptr) {
    info.child = object;
    if (debug) RDEBUG_print_message("KESTREL_RelativeStructureAddChild set setting child");
  }
  if (!cad_occ_id.empty()) {
    info.cadOccId = std::move(cad_occ_id);
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureAddChild set setting cadOccId = %s", info.cadOccId.c_str());
  }
  // A later matrix replaces the earlier one.
  if (transform) info.occInfo.occTransform.assign(transform, transform + 16);
  // A child the host comes back to keeps the keys of its lists, so that
  // merging stays linear however often it comes.
  auto keys_of = [&, index = index]() -> ChildKeys& { return batch.entries[at].child_keys[index]; };
  if (notes && !notes->empty())
    merge_notes(info.occInfo, *notes, info.occInfo.occNotes.empty() ? nullptr : &keys_of().notes, debug);
  if (attributes && !attributes->empty())
    merge_attributes(info.occInfo, *attributes, info.occInfo.attrsToSet.empty() ? nullptr : &keys_of().attributes,
                     debug);
  if (as_required) {
    info.occInfo.asRequired = true;
    if (debug) RDEBUG_print_message("KESTREL_RelativeStructureAddChild set setting asRequired=%s\n", "TRUE");
  }
  return info.clientId;
}

// The host's BOM view revision of each parent, asked once per parent; "" when
// the host gives none.
class BomViews {
 public:
  const std::string* of(ModelObject* parent) {
    auto [at, added] = known_.try_emplace(parent);
    if (added) {
      Orvane::PdmSoa::ItemRevision* revision = nullptr;
      HostObject* item = nullptr;
      HostObject* bom_view = nullptr;
      if (TOVMGR_SOA_ask_bvr(parent->getUid().c_str(), &revision, &item, &bom_view) && bom_view)
        at->second = std::make_unique<std::string>(UStringToString(bom_view->GetUid()));
    }
    return at->second.get();
  }

 private:
  std::unordered_map<ModelObject*, std::unique_ptr<std::string>> known_;
};

// The parents of the records sent, by AssyId, and for an AssyId sent in
// more than one record (started again for another parent) by the client
// ids of its children; the views point into the batch, which outlives them.
// A client id sent in two records of one AssyId cannot be told apart in the
// reply, and the newest record's parent answers for it.
class SentParents {
 public:
  template <class Record>
  explicit SentParents(const Batch<Record>& batch) {
    by_assy_id_.reserve(batch.assy_index.size());
    for (const auto& [assy_id, position] : batch.assy_index)
      by_assy_id_.emplace(assy_id, batch.parents[position].parent);
    if (batch.parents.size() == batch.assy_index.size()) return;  // every AssyId sent once
    std::unordered_map<int, int> records;
    for (const auto& entry : batch.entries) ++records[entry.assy_id];
    for (std::size_t i = 0; i < batch.parents.size(); ++i) {
      if (records[batch.entries[i].assy_id] < 2) continue;
      reused_.insert(batch.entries[i].assy_id);
      for (const auto& child : batch.parents[i].childInfo) by_client_id_[child.clientId] = batch.parents[i].parent;
    }
  }

  // Whether the AssyId's children may have more than one parent.
  bool reused(int assy_id) const { return reused_.count(assy_id) != 0; }

  // A client id the batch never sent falls back on its AssyId's parent.
  ModelObject* of(const std::string& client_id, int assy_id) const {
    if (reused(assy_id))
      if (auto at = by_client_id_.find(std::string_view(client_id)); at != by_client_id_.end()) return at->second;
    auto at = by_assy_id_.find(assy_id);
    return at == by_assy_id_.end() ? nullptr : at->second;
  }

 private:
  std::unordered_map<int, ModelObject*> by_assy_id_;
  std::unordered_set<int> reused_;
  std::unordered_map<std::string_view, ModelObject*> by_client_id_;
};

// Turns the reply into the handle map and the components, entry by entry in
// client-id order.
Texts* read_update_reply(const Cad::CreateOrUpdateRelativeStructureResponse& reply, const SentParents& parents,
                         Components& components) {
  const bool debug = debugging();
  // The created occurrences of each thread, in reply order, chained from the
  // thread's first; the last one that matches an entry is the one the
  // components map keeps. The framework holds one object per UID, so a
  // thread's object stands for its UID.
  struct Created {
    Model::PSOccurrence* occurrence;
    std::size_t next;
  };
  constexpr std::size_t kEnd = static_cast<std::size_t>(-1);
  struct Chain {
    std::size_t first = 0, last = 0;
  };
  const auto& created_objects = reply.serviceData.getCreatedObjects();
  std::vector<Created> created;
  created.reserve(created_objects.size());
  kestrel::PointerTable<Chain> by_thread(created_objects.size());
  // The connection holds one type object per type name: once one is known
  // to be "PSOccurrence", the others are compared by address.
  const Halden::Soa::Client::Type* occurrence_type = nullptr;
  for (std::size_t i = 0; i < created_objects.size(); ++i) {
    kestrel::prefetch_ahead(created_objects, i);
    ModelObject* object = created_objects[i];
    const Halden::Soa::Client::Type* type = object ? object->getType() : nullptr;
    if (!type) continue;
    if (type != occurrence_type) {
      if (type->getName() != "PSOccurrence") continue;
      occurrence_type = type;
    }
    auto* occurrence = dynamic_cast<Model::PSOccurrence*>(object);
    if (!occurrence) continue;
    const ModelObject* thread = occurrence->get_occ_thread();
    if (!thread) continue;
    const std::size_t at = created.size();
    created.push_back({occurrence, kEnd});
    auto [chain, added] = by_thread.try_emplace(thread, Chain{at, at});
    if (!added) created[std::exchange(chain->last, at)].next = at;
  }

  auto* manager = Orvane::PdmSoa::SoaManager::GetObjectManager();
  const UString component_class = Component::AskClassName();
  kestrel::AsHostClass<Component> as_component;
  auto handles = std::make_unique<Texts>();
  BomViews bom_views;
  // Entries come in key order, so each goes in at the end of both maps, and
  // the children of one AssyId follow each other: its parent and BOM view
  // are looked up once for the run, unless it was sent under several.
  int last_assy_id = 0;
  bool last_known = false;
  ModelObject* last_parent = nullptr;
  const std::string* last_bom_view = nullptr;
  for (const auto& [client_id, thread] : reply.output) {
    static const std::string kNoThread;
    const std::string& thread_uid = thread ? thread->getUid() : kNoThread;
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureUpdateCommit  ClientId=%s  PSOccurrenceThread=%s",
                           client_id.c_str(), thread_uid.c_str());
    const std::size_t split = client_id.find('_');
    if (split == std::string::npos || split + 1 == client_id.size()) continue;
    const int assy_id = parse_int(client_id.c_str());
    const int comp_id = parse_int(client_id.c_str() + split + 1);
    if (debug) RDEBUG_print_message("KESTREL_RelativeStructureUpdateCommit AssyID=%d CompId=%d", assy_id, comp_id);

    std::string handle;
    bool has_handle = false;
    if (thread && (!last_known || assy_id != last_assy_id || parents.reused(assy_id))) {
      ModelObject* parent = parents.of(client_id, assy_id);
      if (!last_known || parent != last_parent) last_bom_view = parent ? bom_views.of(parent) : nullptr;
      last_parent = parent;
      last_assy_id = assy_id;
      last_known = true;
    }
    if (thread && last_bom_view) {
      const std::string& parent_uid = last_parent->getUid();
      handle.reserve(parent_uid.size() + last_bom_view->size() + thread_uid.size() + 2);
      handle.append(parent_uid).append(" ").append(*last_bom_view).append(" ").append(thread_uid);
      has_handle = true;
    }
    if (debug)
      RDEBUG_print_message("KESTREL_RelativeStructureUpdateCommit DB_COMP_HANDLE=%s",
                           has_handle ? handle.c_str() : "<null>");
    const std::string& stored = handles->emplace_hint(handles->end(), client_id, std::move(handle))->second;

    const Chain* chain = thread ? by_thread.find(thread) : nullptr;
    if (!chain) continue;
    Component** kept = nullptr;
    for (std::size_t at = chain->first; at != kEnd; at = created[at].next) {
      Model::PSOccurrence* occurrence = created[at].occurrence;
      // One the host already holds as another class is not a component.
      Component* component = as_component(manager->WrapSoaObjectAsClass(occurrence, component_class));
      if (!component) continue;
      if (debug)
        RDEBUG_print_message("KESTREL_commit_RelativeStructure got hxSoa_occ=%s",
                             occurrence->getUid().empty() ? "<null>" : occurrence->getUid().c_str());
      if (has_handle) component->SetComponentHandle(UString(stored));
      if (!kept) kept = &components.emplace_hint(components.end(), client_id, nullptr)->second;
      *kept = component;
      if (debug)
        RDEBUG_print_message("KESTREL_commit_RelativeStructure clientIDforNewPdmSoaComponent=%p",
                             static_cast<void*>(component));
    }
  }
  return handles.release();
}

}  // namespace

int KESTREL_RelativeStructureUpdateStart() {
  update_batch = TOVMGR__is_service_2007_12_available() ? UpdateBatch(NewerUpdate()) : UpdateBatch(OlderUpdate());
  return 0;
}

int KESTREL_RelativeStructureUpdateStartAssy(int assy_id, HostObject* parent, bool precise,
                                             date_s* reprev_date_on_sync) {
  if (!parent) BATCH_RAISE(940208, "KRAL SOA: Null parent in KESTREL_RelativeStructureUpdateStartAssy");
  if (std::holds_alternative<std::monostate>(update_batch))
    BATCH_RAISE(940208, "KRAL SOA: No open batch in KESTREL_RelativeStructureUpdateStartAssy");
  ModelObject* object = server_parent_of(parent);
  std::size_t position = 0;
  if (auto* older = std::get_if<OlderUpdate>(&update_batch)) {
    position = register_parent(*older, assy_id, Cad::RelativeStructureInfo{object, {}, precise});
  } else {
    auto& newer = std::get<NewerUpdate>(update_batch);
    const DateTime date = last_modified(true, reprev_date_on_sync);
    position = register_parent(newer, assy_id, Cad::RelativeStructureInfo2{date, object, {}, precise});
  }
  if (debugging())
    RDEBUG_print_message("KESTREL_RelativeStructureStart found AssyId=%d idToAssyUpdateIndex[CompId]=%d", assy_id,
                         static_cast<int>(position));
  return 0;
}

std::string KESTREL_RelativeStructureAddChild(int assy_id, int comp_id, HostObject* child, std::string cad_occ_id,
                                              const double* transform, bool as_required, const Texts* notes,
                                              const Texts* attributes) {
  return std::visit(
      [&](auto& batch) -> std::string {
        if constexpr (is_batch<decltype(batch)>) {
          return add_child(batch, assy_id, comp_id, child, std::move(cad_occ_id), transform, as_required, notes,
                           attributes);
        } else {
          not_started(assy_id, "KESTREL_RelativeStructureAddChild");
        }
      },
      update_batch);
}

std::map<std::string, std::string>* KESTREL_RelativeStructureUpdateCommit(bool complete, Components** components_out) {
  if (!components_out) BATCH_RAISE(940208, "KRAL SOA: Null components map in KESTREL_RelativeStructureUpdateCommit");
  // The host gets its map when the commit returns; when it raises, no map
  // is left for the host to free.
  *components_out = nullptr;
  auto components = std::make_unique<Components>();
  const bool debug = debugging();
  const char* view_type = or_empty(TOVMGR_VIREL_ask_view_type());
  if (debug) {
    ERROR_lprintf("KESTREL_RelativeStructureUpdateCommit()\n");
    ERROR_lprintf("complete=%s\n", true_false(complete));
    ERROR_lprintf("view type=%s\n", view_type);
    std::visit(
        [](const auto& batch) {
          if constexpr (is_batch<decltype(batch)>) dump(batch);
        },
        update_batch);
  }

  Texts* handles = std::visit(
      [&](auto& batch) -> Texts* {
        if constexpr (!is_batch<decltype(batch)>) {
          return nullptr;
        } else {
          remove_childless(batch, [&](const auto& removed) {
            if (debug) print_removed(removed.parent);
          });
          if (batch.parents.empty()) return nullptr;
          auto reply =
              kestrel::soa_request<StructuremanagementService>(BATCH_HERE, [&](StructuremanagementService& sm) {
                return sm.createOrUpdateRelativeStructure(batch.parents, view_type, complete,
                                                          options_of(batch.parents.front()));
              });
          // The server holds the structure now: the batch ends before its
          // reply is read, so that nothing the reading raises can send it twice.
          const auto sent = std::move(batch);
          update_batch.template emplace<std::monostate>();
          const SentParents parents(sent);
          return kestrel::convert_soa_exceptions(BATCH_HERE,
                                                 [&] { return read_update_reply(reply, parents, *components); });
        }
      },
      update_batch);
  if (!handles && debug) RDEBUG_print_message("KESTREL_RelativeStructureUpdateCommit empty list");
  update_batch.emplace<std::monostate>();
  *components_out = components.release();
  return handles;
}

int KESTREL_RelativeStructureDeleteStart() {
  delete_batch = TOVMGR__is_service_2007_12_available() ? DeleteBatch(NewerDelete()) : DeleteBatch(OlderDelete());
  return 0;
}

int KESTREL_RelativeStructureDeleteStartAssy(int assy_id, HostObject* parent, date_s* reprev_date_on_sync) {
  if (!parent) BATCH_RAISE(940208, "KRAL SOA: Null parent in KESTREL_RelativeStructureDeleteStartAssy");
  if (std::holds_alternative<std::monostate>(delete_batch))
    BATCH_RAISE(940208, "KRAL SOA: No open batch in KESTREL_RelativeStructureDeleteStartAssy");
  ModelObject* object = server_parent_of(parent);
  std::size_t position = 0;
  if (auto* older = std::get_if<OlderDelete>(&delete_batch)) {
    position = register_parent(*older, assy_id, Cad::DeleteRelativeStructureInfo{object, {}});
  } else {
    auto& newer = std::get<NewerDelete>(delete_batch);
    const DateTime date = last_modified(false, reprev_date_on_sync);
    position = register_parent(newer, assy_id, Cad::DeleteRelativeStructureInfo2{date, object, {}});
  }
  if (debugging())
    RDEBUG_print_message("KESTREL_RelativeStructureDeleteStartAssy found AssyId=%d idToAssyUpdateIndex[CompId]=%d",
                         assy_id, static_cast<int>(position));
  return 0;
}

int KESTREL_RelativeStructureDeleteChild(int assy_id, std::string occurrence_uid) {
  std::vector<std::string>& uids = std::visit(
      [&](auto& batch) -> std::vector<std::string>& {
        if constexpr (is_batch<decltype(batch)>) {
          return batch.parents[position_of(batch, assy_id, "KESTREL_RelativeStructureDeleteChild")].childInfo;
        } else {
          not_started(assy_id, "KESTREL_RelativeStructureDeleteChild");
        }
      },
      delete_batch);
  if (!occurrence_uid.empty()) uids.push_back(std::move(occurrence_uid));
  return 0;
}

int KESTREL_RelativeStructureDeleteCommit() {
  const bool debug = debugging();
  if (debug) {
    ERROR_lprintf("KESTREL_RelativeStructureDeleteCommit()\n");
    std::visit(
        [](const auto& batch) {
          if constexpr (is_batch<decltype(batch)>) dump(batch);
        },
        delete_batch);
  }
  const bool sent = std::visit(
      [&](auto& batch) -> bool {
        if constexpr (!is_batch<decltype(batch)>) {
          return false;
        } else {
          remove_childless(batch, [&](const auto& removed) {
            if (debug) print_removed(removed.parent);
          });
          if (batch.parents.empty()) return false;
          const char* view_type = or_empty(TOVMGR_VIREL_ask_view_type());
          kestrel::soa_request<StructuremanagementService>(BATCH_HERE, [&](StructuremanagementService& sm) {
            sm.deleteRelativeStructure(batch.parents, view_type, options_of(batch.parents.front()));
          });
          return true;
        }
      },
      delete_batch);
  if (!sent && debug) RDEBUG_print_message("KESTREL_RelativeStructureDeleteCommit empty list");
  delete_batch.emplace<std::monostate>();
  return 0;
}
