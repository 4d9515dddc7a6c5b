// The sample world's products: items, their revisions, the datasets related
// to each revision and the occurrences of its BOM view. Kept over the store
// (each is a stored object too) and shared by the families that answer with
// them. An item is "item-<id>", its revision "rev-<id>-<rev>" with the BOM
// view revision "bvr-<id>-<rev>". Revisions count as added oldest first.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "halden/server/WorldStore.h"

namespace Halden::Soa::Server {

class ProductCatalog {
 public:
  struct Occurrence {
    std::string child_item_id;
    int quantity;
    std::string name;
  };
  struct RelatedDataset {
    std::string relation, uid, type;
  };
  struct Revision {
    std::string item_id, revision_id, bvr_uid;
    bool released;
    std::vector<RelatedDataset> datasets;
    std::vector<Occurrence> occurrences;
  };
  struct Item {
    std::string uid, name;
    std::vector<std::string> revisions;  // UIDs, oldest first
  };

  // What replies about items and revisions carry whatever the policy says.
  static const std::vector<std::string>& identity();

  explicit ProductCatalog(WorldStore& store) : store_(store) {}

  std::string add_item(const std::string& item_id, const std::string& name);
  std::string add_item_revision(const std::string& item_id, const std::string& revision_id, bool released);
  // A dataset of the revision under the relation, with "object_type" type.
  void add_dataset(const std::string& uid, const std::string& item_id, const std::string& revision_id,
                   const std::string& relation, const std::string& type, const std::string& name);
  // A file ("OstraFile" "file-<dataset>-<n>" with "original_file_name")
  // that the dataset references on "ref_list" under the name on "ref_names";
  // neither is in the Dataset policy. Answers the file's UID.
  std::string add_dataset_file(const std::string& dataset_uid, const std::string& reference_name,
                               const std::string& file_name);
  // A child occurrence in the revision's BOM view. Its line is named name
  // (the child item id when empty); quantity 0 leaves it without one.
  void add_occurrence(const std::string& item_id, const std::string& revision_id, const std::string& child_item_id,
                      int quantity = 0, const std::string& name = "");

  const Item* item(const std::string& item_id) const;
  // The item id of an item UID, or null.
  const std::string* item_id_of(const std::string& item_uid) const;
  const Revision* revision(const std::string& revision_uid) const;
  // The datasets of the revision under the filters (all of them when none).
  std::vector<std::string> datasets_of(const std::string& revision_uid,
                                       const std::vector<RelationFilterRecord>& filters) const;
  // The revision of the item a rule configures, entry by entry: the newest
  // released revision (a status entry) or the newest revision (a working
  // entry); other entries configure nothing, and no rule the newest. "" for
  // none.
  std::string configured(const std::string& rule_uid, const std::string& item_id) const;

 private:
  WorldStore& store_;
  std::map<std::string, Item> items_;                      // by item id
  std::unordered_map<std::string, std::string> item_ids_;  // item UID -> item id
  std::unordered_map<std::string, Revision> revisions_;    // by UID
};

}  // namespace Halden::Soa::Server
