// The sample world's object operations: refresh, delete, relations, property
// writing, dataset file references, the type registry, reservation and the
// CAD item expansion. Everything reads and changes the one store.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "halden/server/SampleWorld.h"

namespace Halden::Soa::Server {

namespace {

using namespace props;

const std::vector<std::string> kFileTypes = {"OstraFile", "POM_application_object", "POM_object"};

// What replies about items and revisions carry whatever the policy says.
const std::vector<std::string> kItemIdentity = {"item_id", "item_revision_id"};
const std::vector<std::string> kReservation = {"checked_out", "checked_out_user", "checkout_comment",
                                               "checkout_change_id"};

bool has_type(const SampleWorld::StoredObject& object, const std::string& type) {
  return std::find(object.types.begin(), object.types.end(), type) != object.types.end();
}

WireErrorStack error_on(const std::string& uid, int index, int code, const std::string& message) {
  return WireErrorStack{uid, index, uid, {{code, 3, message}}};
}

WireErrorStack unknown(const std::string& uid, int index) {
  return WireErrorStack{"", index, uid, {{515024, 3, "The object with UID " + uid + " could not be found."}}};
}

// Collects reply UIDs once each, in first-seen order.
class Carried {
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

const std::string* string_value(const SampleWorld::StoredObject& object, const std::string& name) {
  auto it = object.properties.find(name);
  if (it == object.properties.end() || it->second.type != ValueType::String || it->second.strings.empty())
    return nullptr;
  return &it->second.strings.front();
}

}  // namespace

std::string SampleWorld::add_dataset_file(const std::string& dataset_uid, const std::string& reference_name,
                                          const std::string& file_name) {
  StoredObject& dataset = objects_.at(dataset_uid);
  auto& list = dataset.properties["ref_list"];
  if (list.name.empty()) list = refs("ref_list", {});
  auto& names = dataset.properties["ref_names"];
  if (names.name.empty()) names = strs("ref_names", {});
  const std::string uid = "file-" + dataset_uid + "-" + std::to_string(list.references.size() + 1);
  list.references.push_back(uid);
  names.strings.push_back(reference_name);
  add_object(uid, kFileTypes, {str("original_file_name", file_name), str("object_type", "OstraFile")});
  return uid;
}

void SampleWorld::add_dataset_files() {
  // Master models and drawings hold files; the other datasets hold none.
  std::vector<std::string> datasets;
  for (const auto& [uid, object] : objects_)
    if (has_type(object, "Dataset")) datasets.push_back(uid);
  for (const auto& uid : datasets) {
    const std::string* type = string_value(objects_.at(uid), "object_type");
    if (!type) continue;
    const std::string stem = uid.substr(3);  // after "ds-"
    if (*type == "TOVMASTER") {
      add_dataset_file(uid, "TOVPART", stem + ".prt");
    } else if (*type == "PDF") {
      add_dataset_file(uid, "PDF_Reference", stem + ".pdf");
      add_dataset_file(uid, "PDF_Markup", stem + "-markup.xml");
    }
  }
}

void SampleWorld::set_type_description(const std::string& type, std::vector<TypeDescriptionEntryRecord> entries) {
  type_registry_[type] = std::move(entries);
}

void SampleWorld::add_type_registry() {
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
    set_type_description(t.type, {{"parent_type", {t.parent}}, {"display_name", {t.display}},
                                  {"property_names", t.properties}});
}

WireServiceData SampleWorld::refreshObjects(const std::vector<std::string>& uids) {
  Carried known;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    if (objects_.count(uids[i])) {
      known.add(uids[i]);
    } else {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
    }
  }
  WireServiceData data = reply_with(known.uids());
  data.updated = known.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData SampleWorld::deleteObjects(const std::vector<std::string>& uids) {
  // How many references each object has from the others, counted once.
  std::unordered_map<std::string, int> referrers;
  for (const auto& [uid, object] : objects_)
    for (const auto& [name, p] : object.properties)
      for (const auto& target : p.references)
        if (!target.empty() && target != uid) ++referrers[target];

  WireServiceData data;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    const std::string& uid = uids[i];
    auto it = objects_.find(uid);
    if (it == objects_.end()) {
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
    objects_.erase(it);
    data.deleted.push_back(uid);
  }
  // Referenced objects that stay come along so the errors can name them.
  std::vector<std::string> kept;
  for (const auto& stack : data.errors)
    if (!stack.associated_uid.empty()) kept.push_back(stack.associated_uid);
  auto carried = reply_with(kept);
  data.objects = std::move(carried.objects);
  return data;
}

namespace {

// Whether an object is of one of the filter's types (any when none): its
// type chain or its "object_type".
bool of_types(const SampleWorld::StoredObject& object, const std::vector<std::string>& types) {
  if (types.empty()) return true;
  const std::string* object_type = string_value(object, "object_type");
  return std::any_of(types.begin(), types.end(),
                     [&](const std::string& t) { return has_type(object, t) || (object_type && *object_type == t); });
}

}  // namespace

RelatedObjectsReply SampleWorld::expandPrimaryObjects(const std::vector<std::string>& uids,
                                                      const std::vector<RelationFilterRecord>& filters) {
  RelatedObjectsReply reply;
  Carried carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    auto it = objects_.find(uids[i]);
    if (it == objects_.end()) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    RelatedObjectsOutput output{uids[i], {}};
    carried.add(uids[i]);
    for (const auto& filter : filters) {
      RelatedGroupRecord group{{}, filter.relation};
      auto p = it->second.properties.find(filter.relation);
      if (p != it->second.properties.end() && p->second.type == ValueType::Reference)
        for (const auto& target : p->second.references) {
          const StoredObject* related = find(target);
          if (!related || !of_types(*related, filter.types)) continue;
          group.uids.push_back(target);
          carried.add(target);
        }
      output.groups.push_back(std::move(group));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

RelatedObjectsReply SampleWorld::expandSecondaryObjects(const std::vector<std::string>& uids,
                                                        const std::vector<RelationFilterRecord>& filters) {
  // Per relation asked, who references whom through it: one pass over the store.
  std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> referrers;
  for (const auto& filter : filters) referrers.emplace(filter.relation, std::unordered_map<std::string, std::vector<std::string>>{});
  for (const auto& [uid, object] : objects_)
    for (auto& [relation, index] : referrers) {
      auto p = object.properties.find(relation);
      if (p == object.properties.end() || p->second.type != ValueType::Reference) continue;
      for (const auto& target : p->second.references)
        if (!target.empty()) index[target].push_back(uid);
    }

  RelatedObjectsReply reply;
  Carried carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    if (!objects_.count(uids[i])) {
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
          if (!of_types(objects_.at(referrer), filter.types)) continue;
          group.uids.push_back(referrer);
          carried.add(referrer);
        }
      output.groups.push_back(std::move(group));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData SampleWorld::setProperties(const std::vector<std::string>& uids,
                                           const std::map<std::string, std::vector<std::string>>& values) {
  std::vector<std::string> names;
  names.reserve(values.size());
  for (const auto& [name, v] : values) names.push_back(name);

  Carried written;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    auto it = objects_.find(uids[i]);
    if (it == objects_.end()) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    WireErrorStack stack{uids[i], static_cast<int>(i), uids[i], {}};
    for (const auto& name : names)
      if (!it->second.properties.count(name))
        stack.values.push_back({515001, 3, "The property " + name + " does not exist on " + uids[i] + "."});
    if (!stack.values.empty()) {
      errors.push_back(std::move(stack));
      continue;
    }
    for (const auto& [name, v] : values) {
      WireProperty& stored = it->second.properties.at(name);
      const bool single = stored.type == ValueType::String && !stored.is_array && v.size() == 1;
      stored = single ? str(name, v.front()) : strs(name, v);
    }
    written.add(uids[i]);
  }
  WireServiceData data = reply_with(written.uids(), names);
  data.updated = written.uids();
  data.errors = std::move(errors);
  return data;
}

DatasetReferencesReply SampleWorld::getDatasetReferences(const std::vector<std::string>& dataset_uids) {
  DatasetReferencesReply reply;
  Carried carried;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < dataset_uids.size(); ++i) {
    const std::string& uid = dataset_uids[i];
    const StoredObject* dataset = find(uid);
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
        if (const StoredObject* target = find(targets[n]); target && has_type(*target, "OstraFile")) {
          record.is_file = true;
          if (const std::string* file_name = string_value(*target, "original_file_name")) record.file_name = *file_name;
        }
        output.references.push_back(std::move(record));
      }
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

TypeDescriptionsReply SampleWorld::getTypeDescriptions(const std::vector<TypeDescriptionRequestRecord>& requests) {
  TypeDescriptionsReply reply;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const auto& request = requests[i];
    auto type = type_registry_.find(request.type_name);
    if (type == type_registry_.end()) {
      reply.data.errors.push_back(WireErrorStack{
          "", static_cast<int>(i), request.type_name, {{39014, 3, "The type " + request.type_name + " does not exist."}}});
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

WireServiceData SampleWorld::checkout(const std::vector<std::string>& uids, const std::string& comment,
                                      const std::string& change_id) {
  Carried changed;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    auto it = objects_.find(uids[i]);
    if (it == objects_.end()) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    const std::string* state = string_value(it->second, "checked_out");
    if (state && *state == "Y") {
      errors.push_back(error_on(uids[i], static_cast<int>(i), 32009, "The object " + uids[i] + " is already checked out."));
      continue;
    }
    auto& properties = it->second.properties;
    properties["checked_out"] = str("checked_out", "Y");
    properties["checked_out_user"] = ref("checked_out_user", session_user_.empty() ? "" : users_.at(session_user_).uid);
    properties["checkout_comment"] = str("checkout_comment", comment);
    properties["checkout_change_id"] = str("checkout_change_id", change_id);
    changed.add(uids[i]);
  }
  WireServiceData data = reply_with(changed.uids(), kReservation);
  data.updated = changed.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData SampleWorld::release(const std::vector<std::string>& uids) {
  Carried changed;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < uids.size(); ++i) {
    auto it = objects_.find(uids[i]);
    if (it == objects_.end()) {
      errors.push_back(unknown(uids[i], static_cast<int>(i)));
      continue;
    }
    const std::string* state = string_value(it->second, "checked_out");
    if (!state || *state != "Y") {
      errors.push_back(error_on(uids[i], static_cast<int>(i), 32010, "The object " + uids[i] + " is not checked out."));
      continue;
    }
    auto& properties = it->second.properties;
    properties["checked_out"] = str("checked_out", "");
    properties["checked_out_user"] = ref("checked_out_user", "");
    properties["checkout_comment"] = str("checkout_comment", "");
    properties["checkout_change_id"] = str("checkout_change_id", "");
    changed.add(uids[i]);
  }
  WireServiceData data = reply_with(changed.uids(), kReservation);
  data.updated = changed.uids();
  data.errors = std::move(errors);
  return data;
}

WireServiceData SampleWorld::checkin(const std::vector<std::string>& uids) { return release(uids); }

WireServiceData SampleWorld::cancelCheckout(const std::vector<std::string>& uids) { return release(uids); }

RelatedObjectsReply SampleWorld::getRelatedObjects(const std::vector<std::string>& uids,
                                                   const std::vector<RelationFilterRecord>& filters) {
  return expandPrimaryObjects(uids, filters);
}

namespace {

// The datasets a revision holds under any reference property, of the filters'
// types; a filter with an empty relation name matches every relation.
std::vector<std::string> datasets_of(SampleWorld& world, const SampleWorld::StoredObject& revision,
                                     const std::vector<RelationFilterRecord>& filters) {
  std::vector<std::string> out;
  for (const auto& [name, p] : revision.properties) {
    if (p.type != ValueType::Reference) continue;
    for (const auto& uid : p.references) {
      const auto* dataset = world.find(uid);
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

ExpandItemsReply SampleWorld::expandItems(const std::vector<std::string>& item_uids,
                                          const ExpandItemsPreference& preference) {
  ExpandItemsReply reply;
  Carried carried;
  std::vector<WireErrorStack> errors;
  auto revision_entry = [&](const std::string& uid) {
    ExpandedRevision entry{uid, datasets_of(*this, objects_.at(uid), preference.filters)};
    carried.add(uid);
    carried.add(entry.dataset_uids);
    return entry;
  };
  for (std::size_t i = 0; i < item_uids.size(); ++i) {
    const std::string& uid = item_uids[i];
    ExpandItemsOutput output{uid, {}, {}, {}};
    const StoredObject* object = find(uid);
    if (object && has_type(*object, "Item")) {
      ExpandedItem item{uid, {}};
      carried.add(uid);
      auto list = object->properties.find("revision_list");
      if (list != object->properties.end())
        for (const auto& revision : list->second.references)
          if (find(revision)) item.revisions.push_back(revision_entry(revision));
      output.items.push_back(std::move(item));
    } else if (object && has_type(*object, "ItemRevision")) {
      output.revisions.push_back(revision_entry(uid));
    } else {
      errors.push_back(object ? error_on(uid, static_cast<int>(i), 214110, "The object " + uid + " is no item.")
                              : unknown(uid, static_cast<int>(i)));
    }
    reply.outputs.push_back(std::move(output));
  }
  reply.data = reply_with(carried.uids(), kItemIdentity);
  reply.data.errors = std::move(errors);
  return reply;
}

}  // namespace Halden::Soa::Server
