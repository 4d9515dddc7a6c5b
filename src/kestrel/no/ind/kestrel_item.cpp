#include "kestrel_item.h"

#include <memory>

#include "halden/services/cad/StructuremanagementService.h"
#include "halden/services/core/DatamanagementService.h"
#include "kestrel_call.h"
#include "kestrel_host.h"
#include "kestrel_object.h"
#include "kestrel_request.h"
#include "kestrel_rev_rule.h"

using Halden::Services::Cad::StructuremanagementService;
using Halden::Services::Core::DatamanagementService;
using Halden::Services::Core::GetItemFromIdInfo;
using Halden::Services::Core::GetItemFromIdResponse;
using Halden::Services::Core::RelationFilter;
using Halden::Soa::Client::ModelObject;
using Orvane::PdmSoa::Dataset;
using Orvane::PdmSoa::Item;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;

namespace {

using IdRecords = std::vector<GetItemFromIdInfo>;

struct RevisionPair {
  UString revision_id;
  UString uid;
};

struct ItemRevisionList {
  Item* item;
  std::vector<RevisionPair> pairs;  // one per revision entry; empty where it had no revision
};

GetItemFromIdResponse get_item_from_id(kestrel::Site site, const IdRecords& ids, int revision_count,
                                       const std::vector<RelationFilter>& filters) {
  return kestrel::soa_request<DatamanagementService>(site, [&](DatamanagementService& dm) {
    if (kestrel::debug_enabled(kestrel::kDebugSoa))
      RDEBUG_print_message("KRAL SOA debug: Call to getItemFromId service");
    return dm.getItemFromId(ids, revision_count, filters);
  });
}

std::string string_property(ModelObject* object, const char* name) {
  Halden::Soa::Client::Property* property = kestrel::get_property_force_load(object, name);
  return property ? property->getStringValue() : std::string();
}

ItemRevision* host_revision(const UString& uid) {
  return dynamic_cast<ItemRevision*>(SoaManager::GetObjectManager()->GetObjectByUid(uid, ItemRevision::AskClassName()));
}

// The id record of one revision, or of the newest when the id is empty.
IdRecords one_revision(const std::string& item_id, const std::string& revision_id, int* revision_count) {
  *revision_count = revision_id.empty() ? 1 : 0;
  if (revision_id.empty()) return {{item_id, {}}};
  return {{item_id, {revision_id}}};
}

// The UIDs of the datasets of the first revision of the first item found.
std::vector<std::string> ask_items_from_id(const IdRecords& ids, int revision_count,
                                           const std::vector<RelationFilter>& filters) {
  auto reply = get_item_from_id(KESTREL_HERE, ids, revision_count, filters);
  std::vector<std::string> uids;
  if (reply.output.empty() || reply.output.front().itemRevOutput.empty()) return uids;
  for (ModelObject* dataset : reply.output.front().itemRevOutput.front().datasets)
    if (dataset) uids.push_back(dataset->getUid());
  return uids;
}

// The host items of the reply, each registered with its revisions; the
// datasets of all of them are registered in one list. An output without an
// item object, or one the host cannot give as an item, is stored as null and
// gets no ids recorded; its datasets are still registered.
std::vector<Item*>* ask_items_with_revisions(const IdRecords& ids, int revision_count,
                                             const std::vector<RelationFilter>& filters) {
  auto reply = get_item_from_id(KESTREL_HERE, ids, revision_count, filters);
  auto* manager = SoaManager::GetObjectManager();
  auto items = std::make_unique<std::vector<Item*>>(reply.output.size(), nullptr);
  std::vector<Dataset*> datasets;
  for (std::size_t i = 0; i < reply.output.size(); ++i) {
    const auto& output = reply.output[i];
    Item* item = kestrel::wrap_as<Item>(output.item);
    if (output.item)
      Item::AddToKnownItems(StringToUString(string_property(output.item, "item_id")),
                            StringToUString(output.item->getUid()));
    for (const auto& entry : output.itemRevOutput) {
      if (!entry.itemRevision) continue;
      if (item)
        item->AddToKnownRevs(StringToUString(string_property(entry.itemRevision, "item_revision_id")),
                             StringToUString(entry.itemRevision->getUid()));
      for (ModelObject* dataset : entry.datasets) {
        if (!dataset) continue;
        if (auto* host = kestrel::wrap_as<Dataset>(dataset)) datasets.push_back(host);
      }
    }
    (*items)[i] = item;
  }
  if (!datasets.empty()) manager->RegisterDatasets(datasets);
  return items.release();
}

// Per item found, the revision ids and UIDs of its revision entries.
std::vector<ItemRevisionList> ask_item_revision_pairs(const IdRecords& ids, int revision_count,
                                                      const std::vector<RelationFilter>& filters) {
  auto reply = get_item_from_id(KESTREL_HERE, ids, revision_count, filters);
  std::vector<ItemRevisionList> lists;
  lists.reserve(reply.output.size());
  for (const auto& output : reply.output) {
    ItemRevisionList list{kestrel::wrap_as<Item>(output.item), std::vector<RevisionPair>(output.itemRevOutput.size())};
    for (std::size_t k = 0; k < output.itemRevOutput.size(); ++k) {
      ModelObject* revision = output.itemRevOutput[k].itemRevision;
      if (!revision) continue;
      RevisionPair& pair = list.pairs[k];
      pair.revision_id = StringToUString(string_property(revision, "item_revision_id"));
      pair.uid = StringToUString(revision->getUid());
      if (list.item) list.item->AddToKnownRevs(pair.revision_id, pair.uid);
    }
    lists.push_back(std::move(list));
  }
  return lists;
}

ItemRevision* first_revision(const std::string& item_id, const std::string& revision_id, int related_data_mode) {
  if (item_id.empty()) return nullptr;
  int revision_count = 0;
  const IdRecords ids = one_revision(item_id, revision_id, &revision_count);
  auto lists = ask_item_revision_pairs(ids, revision_count, kestrel::ask_item_relation_filters(related_data_mode));
  if (lists.empty() || lists.front().pairs.empty()) return nullptr;
  return host_revision(lists.front().pairs.front().uid);
}

Halden::Soa::Client::Model::RevisionRule* ask_config_rule_object() {
  auto config = KESTREL_get_soa_config_rule();
  return config ? config->revRule : nullptr;
}

ModelObject* ask_configured_server_revision(Halden::Soa::Client::Model::RevisionRule* rule, Item* item) {
  auto reply = kestrel::soa_request<StructuremanagementService>(KESTREL_HERE, [&](StructuremanagementService& sm) {
    return sm.getConfiguredRevisions({{item->GetObjectPtr(), rule}});
  });
  if (reply.output.empty()) return nullptr;
  ModelObject* revision = reply.output.front().itemRevision;
  if (!revision) return nullptr;
  kestrel::get_property_force_load(revision, "item_revision_id");
  return revision;
}

}  // namespace

namespace kestrel {

std::vector<RelationFilter> ask_item_relation_filters(int related_data_mode) {
  struct Lists {
    bool built = false;
    std::vector<RelationFilter> none, own, master_models;
  };
  static Lists lists;
  if (!lists.built) {
    lists.master_models.push_back({"OSTRA_specification", {"TOVMASTER"}});
    lists.built = true;
  }
  switch (related_data_mode) {
    case 1:
      return lists.own;
    case 2:
      return lists.master_models;
    default:
      return lists.none;
  }
}

}  // namespace kestrel

std::vector<ItemRevision*>* KESTREL_get_item_revisions_by_id(Item* item, int revision_count,
                                                             const std::vector<std::string>& revision_ids,
                                                             int related_data_mode) {
  if (!item) return nullptr;
  const IdRecords ids = {{UStringToString(item->GetItemId()), revision_ids}};
  auto lists = ask_item_revision_pairs(ids, revision_count, kestrel::ask_item_relation_filters(related_data_mode));
  if (lists.empty() || lists.front().pairs.empty()) return nullptr;
  auto revisions = std::make_unique<std::vector<ItemRevision*>>();
  revisions->reserve(lists.front().pairs.size());
  for (const auto& pair : lists.front().pairs) revisions->push_back(host_revision(pair.uid));
  return revisions.release();
}

ItemRevision* KESTREL_get_item_revision_of_item(Item* item, const std::string& revision_id, int related_data_mode) {
  if (!item) return nullptr;
  return first_revision(UStringToString(item->GetItemId()), revision_id, related_data_mode);
}

std::vector<Dataset*> KESTREL_get_datasets_by_id(const std::string& item_id, const std::string& revision_id,
                                                 int related_data_mode) {
  std::vector<Dataset*> datasets;
  if (item_id.empty()) return datasets;
  int revision_count = 0;
  const IdRecords ids = one_revision(item_id, revision_id, &revision_count);
  const auto uids = ask_items_from_id(ids, revision_count, kestrel::ask_item_relation_filters(related_data_mode));
  auto* manager = SoaManager::GetObjectManager();
  datasets.reserve(uids.size());
  for (const auto& uid : uids)
    datasets.push_back(dynamic_cast<Dataset*>(manager->GetObjectByUid(StringToUString(uid), Dataset::AskClassName())));
  return datasets;
}

ItemRevision* KESTREL_get_item_revision_by_id(const std::string& item_id, const std::string& revision_id,
                                              int related_data_mode) {
  return first_revision(item_id, revision_id, related_data_mode);
}

Item* KESTREL_get_items_and_revisions_by_id(const std::string& item_id, int revision_count,
                                            const std::vector<std::string>& revision_ids, int related_data_mode) {
  std::unique_ptr<std::vector<Item*>> items(ask_items_with_revisions(
      {{item_id, revision_ids}}, revision_count, kestrel::ask_item_relation_filters(related_data_mode)));
  return items->empty() ? nullptr : items->front();
}

std::vector<Item*>* KESTREL_get_items_by_id(const std::vector<ItemIdEntry>& ids, int related_data_mode) {
  if (kestrel::debug_enabled(kestrel::kDebugSoa))
    RDEBUG_print_message("KRAL SOA debug: Call to getItemFromId service from KESTREL_get_items_by_id");
  IdRecords records;
  records.reserve(ids.size());
  for (const auto& id : ids) records.push_back({UStringToString(id.item_id), UStringVecToStringVec(id.revision_ids)});
  return ask_items_with_revisions(records, 1, kestrel::ask_item_relation_filters(related_data_mode));
}

ItemRevision* KESTREL_ask_configured_revision(const std::string& item_id, const char* revision_rule_name) {
  // Without a host item or a current rule there is nothing to ask the server.
  Item* item = Item::AskPart(StringToUString(item_id));
  if (!item || !item->GetObjectPtr()) return nullptr;
  auto* rule = ask_config_rule_object();
  if (!rule) return nullptr;
  ModelObject* revision = ask_configured_server_revision(rule, item);
  if (!revision) return nullptr;

  const UString uid = StringToUString(revision->getUid());
  ItemRevision* host = host_revision(uid);
  if (revision_rule_name) item->AddToKnownConfigdRevs(UString(revision_rule_name), uid);
  return host;
}
