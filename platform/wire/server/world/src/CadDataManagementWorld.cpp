#include "halden/server/world/CadDataManagementWorld.h"

#include "StoredObjects.h"

namespace Halden::Soa::Server {

using namespace stored;

namespace {

// What replies about items and revisions carry whatever the policy says.
const std::vector<std::string> kItemIdentity = {"item_id", "item_revision_id"};

// The datasets a revision holds under any reference property, of the filters'
// types; a filter with an empty relation name matches every relation.
std::vector<std::string> datasets_of(const WorldStore& store, const WorldStore::StoredObject& revision,
                                     const std::vector<RelationFilterRecord>& filters) {
  std::vector<std::string> out;
  for (const auto& entry : revision.properties) {
    const std::string& name = entry.first;
    const auto& p = entry.second;
    if (p.type != ValueType::Reference) continue;
    for (const auto& uid : p.references) {
      const auto* dataset = store.find(uid);
      if (!dataset || !has_type(*dataset, "Dataset")) continue;
      const bool wanted = filters.empty() || std::any_of(filters.begin(), filters.end(), [&](const auto& f) {
                            return (f.relation.empty() || f.relation == name) && of_types(*dataset, f.types);
                          });
      if (wanted) out.push_back(uid);
    }
  }
  return out;
}

}  // namespace

RelatedObjectsReply CadDataManagementWorld::getRelatedObjects(const std::vector<std::string>& uids,
                                                              const std::vector<RelationFilterRecord>& filters) {
  return datamanagement_.expandPrimaryObjects(uids, filters);
}

ExpandItemsReply CadDataManagementWorld::expandItems(const std::vector<std::string>& item_uids,
                                                     const ExpandItemsPreference& preference) {
  ExpandItemsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  auto revision_entry = [&](const std::string& uid) {
    ExpandedRevision entry{uid, datasets_of(store_, store_.objects().at(uid), preference.filters)};
    carried.add(uid);
    carried.add(entry.dataset_uids);
    return entry;
  };
  for (std::size_t i = 0; i < item_uids.size(); ++i) {
    const std::string& uid = item_uids[i];
    ExpandItemsOutput output{uid, {}, {}, {}};
    const WorldStore::StoredObject* object = store_.find(uid);
    if (object && has_type(*object, "Item")) {
      ExpandedItem item{uid, {}};
      carried.add(uid);
      auto list = object->properties.find("revision_list");
      if (list != object->properties.end())
        for (const auto& revision : list->second.references)
          if (store_.find(revision)) item.revisions.push_back(revision_entry(revision));
      output.items.push_back(std::move(item));
    } else if (object && has_type(*object, "ItemRevision")) {
      output.revisions.push_back(revision_entry(uid));
    } else {
      errors.push_back(object ? error_on(uid, static_cast<int>(i), 214110, "The object " + uid + " is no item.")
                              : unknown(uid, static_cast<int>(i)));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids(), kItemIdentity);
  reply.data.errors = std::move(errors);
  return reply;
}

}  // namespace Halden::Soa::Server
