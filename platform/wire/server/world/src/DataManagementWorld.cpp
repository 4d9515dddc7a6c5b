#include "halden/server/world/DataManagementWorld.h"

#include <algorithm>

namespace Halden::Soa::Server {

WireServiceData DataManagementWorld::getProperties(const std::vector<std::string>& uids,
                                                   const std::vector<std::string>& names) {
  WireServiceData data = store_.reply_with(uids, names);
  for (const auto& uid : uids) {
    if (store_.find(uid)) {
      data.plain.push_back(uid);
    } else {
      data.errors.push_back(WorldStore::not_found(uid));
    }
  }
  return data;
}

WireServiceData DataManagementWorld::loadObjects(const std::vector<std::string>& uids) {
  return getProperties(uids, {});
}

ItemFromIdReply DataManagementWorld::getItemFromId(const std::vector<ItemIdRequest>& ids, int revision_count,
                                                   const std::vector<RelationFilterRecord>& filters) {
  ItemFromIdReply reply;
  UidList carried;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto& id = ids[i];
    const auto* item = catalog_.item(id.item_id);
    if (!item) {
      reply.data.errors.push_back(
          WorldStore::error_of(static_cast<int>(i), id.item_id, 214108, "The item " + id.item_id + " does not exist."));
      continue;
    }
    ItemFromIdOutput output{item->uid, {}};
    std::vector<std::string> chosen;
    const auto& revisions = item->revisions;
    if (!id.revision_ids.empty()) {
      for (const auto& revision_id : id.revision_ids) {
        auto found = std::find_if(revisions.begin(), revisions.end(),
                                  [&](const auto& uid) { return catalog_.revision(uid)->revision_id == revision_id; });
        if (found != revisions.end()) {
          chosen.push_back(*found);
          continue;
        }
        reply.data.errors.push_back(
            WorldStore::error_of(static_cast<int>(i), id.item_id, 214109,
                                 "The revision " + id.item_id + "/" + revision_id + " does not exist."));
      }
    } else {
      const std::size_t wanted =
          revision_count < 0 ? revisions.size() : std::min<std::size_t>(revision_count, revisions.size());
      for (std::size_t n = 0; n < wanted; ++n) chosen.push_back(revisions[revisions.size() - 1 - n]);
    }
    carried.add(item->uid);
    for (const auto& uid : chosen) {
      ItemRevisionEntry entry{uid, catalog_.datasets_of(uid, filters)};
      carried.add(uid);
      carried.add(entry.dataset_uids);
      output.revisions.push_back(std::move(entry));
    }
    reply.outputs.push_back(std::move(output));
  }
  auto errors = std::move(reply.data.errors);
  reply.data = store_.reply_with(carried.uids(), ProductCatalog::identity());
  reply.data.errors = std::move(errors);
  return reply;
}

}  // namespace Halden::Soa::Server
