#include "halden/server/world/DataManagementWorld.h"

#include <algorithm>
#include <unordered_map>

#include "StoredObjects.h"

namespace Halden::Soa::Server {

WireServiceData DataManagementWorld::getProperties(const std::vector<std::string>& uids,
                                                   const std::vector<std::string>& names) {
  return store_.plain_reply(uids, names);
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

namespace Halden::Soa::Server {

using namespace stored;
using namespace props;

DataManagementWorld::DataManagementWorld(WorldStore& store, ProductCatalog& catalog)
    : store_(store), catalog_(catalog) {
  // The small type registry the sample answers from.
  struct Described {
    const char* type;
    const char* parent;
    const char* display;
    std::vector<std::string> properties;
  };
  const Described types[] = {
      {"POM_object", "", "POM Object", {}},
      {"WorkspaceObject", "POM_object", "Workspace Object", {"object_name", "object_type"}},
      {"Item", "WorkspaceObject", "Item", {"item_id", "object_name", "object_type", "revision_list"}},
      {"ItemRevision",
       "WorkspaceObject",
       "Item Revision",
       {"item_revision_id", "item_id", "object_name", "object_type", "items_tag", "release_status"}},
      {"Dataset", "WorkspaceObject", "Dataset", {"object_name", "object_type", "ref_list", "ref_names"}},
      {"Folder", "WorkspaceObject", "Folder", {"object_name", "object_type"}},
      {"OstraFile", "POM_object", "File", {"original_file_name"}},
  };
  for (const auto& t : types)
    set_type_description(
        t.type, {{"parent_type", {t.parent}}, {"display_name", {t.display}}, {"property_names", t.properties}});
}

void DataManagementWorld::set_type_description(const std::string& type,
                                               std::vector<TypeDescriptionEntryRecord> entries) {
  type_registry_[type] = std::move(entries);
}

WireServiceData DataManagementWorld::refreshObjects(const std::vector<std::string>& uids) {
  UidList known;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    if (store_.objects().count(uids[i])) {
      known.add(uids[i]);
    } else {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
    }
  }
  WireServiceData data = store_.reply_with(known.uids());
  data.updated = known.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData DataManagementWorld::deleteObjects(const std::vector<std::string>& uids) {
  // How many references each object has from the others, counted once.
  std::unordered_map<std::string, int> referrers;
  for (const auto& [uid, object] : store_.objects())
    for (const auto& [name, p] : object.properties)
      for (const auto& target : p.references)
        if (!target.empty() && target != uid) ++referrers[target];

  WireServiceData data;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    const std::string& uid = uids[i];
    auto it = store_.objects().find(uid);
    if (it == store_.objects().end()) {
      data.errors.push_back(unknown(uid, static_cast<int>(i)));
      continue;
    }
    if (referrers[uid] > 0) {
      data.errors.push_back(error_on(uid, static_cast<int>(i), 515050,
                                     "The object " + uid + " cannot be deleted: other objects reference it."));
      continue;
    }
    for (const auto& [name, p] : it->second.properties)
      for (const auto& target : p.references)
        if (!target.empty() && target != uid) --referrers[target];
    store_.remove(uid);
    data.deleted.push_back(uid);
  }
  // Referenced objects that stay come along so the errors can name them.
  std::vector<std::string> kept;
  for (const auto& stack : data.errors)
    if (!stack.associated_uid.empty()) kept.push_back(stack.associated_uid);
  auto carried = store_.reply_with(kept);
  data.objects = std::move(carried.objects);
  return data;
}

RelatedObjectsReply DataManagementWorld::expandPrimaryObjects(const std::vector<std::string>& uids,
                                                              const std::vector<RelationFilterRecord>& filters) {
  RelatedObjectsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    auto it = store_.objects().find(uids[i]);
    if (it == store_.objects().end()) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    RelatedObjectsOutput output{uids[i], {}};
    carried.add(uids[i]);
    for (const auto& filter : filters) {
      RelatedGroupRecord group{{}, filter.relation};
      auto add_targets = [&](const WireProperty& property) {
        if (property.type != ValueType::Reference) return;
        for (const auto& target : property.references) {
          const WorldStore::StoredObject* related = store_.find(target);
          if (!related || !of_types(*related, filter.types)) continue;
          group.uids.push_back(target);
          carried.add(target);
        }
      };
      if (filter.relation.empty()) {
        // No relation named: the objects of every relation.
        for (const auto& [name, property] : it->second.properties) add_targets(property);
      } else if (auto p = it->second.properties.find(filter.relation); p != it->second.properties.end()) {
        add_targets(p->second);
      }
      output.groups.push_back(std::move(group));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

RelatedObjectsReply DataManagementWorld::expandSecondaryObjects(const std::vector<std::string>& uids,
                                                                const std::vector<RelationFilterRecord>& filters) {
  // Per relation asked, who references whom through it: one pass over the store.
  std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> referrers;
  for (const auto& filter : filters)
    referrers.emplace(filter.relation, std::unordered_map<std::string, std::vector<std::string>>{});
  for (const auto& [uid, object] : store_.objects())
    for (auto& [relation, index] : referrers) {
      auto p = object.properties.find(relation);
      if (p == object.properties.end() || p->second.type != ValueType::Reference) continue;
      for (const auto& target : p->second.references)
        if (!target.empty()) index[target].push_back(uid);
    }

  RelatedObjectsReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    if (!store_.objects().count(uids[i])) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    RelatedObjectsOutput output{uids[i], {}};
    carried.add(uids[i]);
    for (const auto& filter : filters) {
      RelatedGroupRecord group{{}, filter.relation};
      const auto& index = referrers.at(filter.relation);
      auto found = index.find(uids[i]);
      if (found != index.end())
        for (const auto& referrer : found->second) {
          if (!of_types(store_.objects().at(referrer), filter.types)) continue;
          group.uids.push_back(referrer);
          carried.add(referrer);
        }
      output.groups.push_back(std::move(group));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData DataManagementWorld::setProperties(const std::vector<std::string>& uids,
                                                   const std::map<std::string, std::vector<std::string>>& values) {
  std::vector<std::string> names;
  names.reserve(values.size());
  for (const auto& [name, v] : values) names.push_back(name);

  UidList written;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    WorldStore::StoredObject* object = store_.find(uids[i]);
    if (!object) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    WireErrorStack stack{uids[i], static_cast<int>(i), uids[i], {}};
    for (const auto& name : names)
      if (!object->properties.count(name))
        stack.values.push_back({515001, 3, "The property " + name + " does not exist on " + uids[i] + "."});
    if (!stack.values.empty()) {
      errors.push_back(std::move(stack));
      continue;
    }
    for (const auto& [name, v] : values) {
      WireProperty& stored = object->properties.at(name);
      // A reference keeps its kind: the texts are the UIDs it names.
      if (stored.type == ValueType::Reference) {
        stored = stored.is_array ? refs(name, v) : ref(name, v.empty() ? std::string() : v.front());
        continue;
      }
      const bool single = stored.type == ValueType::String && !stored.is_array && v.size() == 1;
      stored = single ? str(name, v.front()) : strs(name, v);
    }
    written.add(uids[i]);
  }
  WireServiceData data = store_.reply_with(written.uids(), names);
  data.updated = written.uids();
  data.errors = std::move(errors);
  return data;
}

DatasetReferencesReply DataManagementWorld::getDatasetReferences(const std::vector<std::string>& dataset_uids) {
  DatasetReferencesReply reply;
  UidList carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < dataset_uids.size(); ++i) {
    const std::string& uid = dataset_uids[i];
    const WorldStore::StoredObject* dataset = store_.find(uid);
    if (!dataset) {
      reply.outputs.push_back({"", {}});
      errors.push_back(unknown(uid, static_cast<int>(i)));
      continue;
    }
    DatasetReferencesOutput output{uid, {}};
    carried.add(uid);
    auto list = dataset->properties.find("ref_list");
    auto names = dataset->properties.find("ref_names");
    if (list != dataset->properties.end()) {
      const auto& targets = list->second.references;
      output.references.reserve(targets.size());
      for (std::size_t n = 0; n < targets.size(); ++n) {
        DatasetReferenceRecord record;
        if (names != dataset->properties.end() && n < names->second.strings.size())
          record.name = names->second.strings[n];
        record.uid = targets[n];
        if (const WorldStore::StoredObject* target = store_.find(targets[n]);
            target && has_type(*target, "OstraFile")) {
          record.is_file = true;
          if (const std::string* file_name = string_value(*target, "original_file_name")) record.file_name = *file_name;
        }
        output.references.push_back(std::move(record));
      }
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = store_.reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

TypeDescriptionsReply DataManagementWorld::getTypeDescriptions(
    const std::vector<TypeDescriptionRequestRecord>& requests) {
  TypeDescriptionsReply reply;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto type = type_registry_.find(request.type_name);
    if (type == type_registry_.end()) {
      reply.data.errors.push_back(WireErrorStack{"",
                                                 static_cast<int>(i),
                                                 request.type_name,
                                                 {{39014, 3, "The type " + request.type_name + " does not exist."}}});
      continue;
    }
    auto& entries = reply.types[request.type_name];
    for (const auto& entry : type->second) {
      const bool asked = request.names.empty() ||
                         std::find(request.names.begin(), request.names.end(), entry.name) != request.names.end();
      if (asked) entries.push_back(entry);
    }
  }
  return reply;
}

}  // namespace Halden::Soa::Server
