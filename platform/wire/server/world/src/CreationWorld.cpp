// Core creation in the sample world: datasets and items added to the store
// and the catalog, so later requests find them.
#include <string>

#include "halden/server/world/DataManagementWorld.h"
#include "halden/server/world/ValidationWorld.h"

namespace Halden::Soa::Server {

namespace {

const std::vector<std::string> kDatasetTypes = {"Dataset", "WorkspaceObject", "POM_object"};

bool same_ignoring_case(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char ca = a[i], cb = b[i];
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return true;
}

}  // namespace

CreateDatasetsReply DataManagementWorld::createDatasets(const std::vector<DatasetCreateRecord>& inputs) {
  CreateDatasetsReply reply;
  std::vector<std::string> created;
  for (const auto& input : inputs) {
    const std::string uid = store_.fresh_uid("dataset-");
    const std::string type = input.text4.empty() ? "Dataset" : input.text4;
    if (const auto* revision = catalog_.revision(input.object1_uid)) {
      catalog_.add_dataset(uid, revision->item_id, revision->revision_id, input.text2, type, input.text3);
    } else {
      store_.add_object(uid, kDatasetTypes, {props::str("object_name", input.text3), props::str("object_type", type)});
    }
    // No files yet, but the references are there to read.
    store_.set_property(uid, props::refs("ref_list", {}));
    store_.set_property(uid, props::strs("ref_names", {}));
    reply.output[input.text1] = uid;
    created.push_back(uid);
  }
  reply.data = store_.reply_with(created);
  reply.data.created = created;
  return reply;
}

CreateItemsReply DataManagementWorld::createItems(const std::map<std::string, ItemCreateRecord>& inputs) {
  CreateItemsReply reply;
  std::vector<std::string> created;
  int index = 0;
  for (const auto& [key, input] : inputs) {
    const int client_index = index++;
    if (input.text1.empty() || catalog_.item(input.text1)) {
      reply.data.errors.push_back(WorldStore::error_of(client_index, input.text1, 214110,
                                                       "The item id \"" + input.text1 + "\" cannot be used."));
      continue;
    }
    const std::string item_uid = catalog_.add_item(input.text1, input.text2);
    if (!input.text3.empty()) store_.set_property(item_uid, props::str("object_type", input.text3));
    for (const auto& [name, value] : input.attributes) store_.set_property(item_uid, props::str(name, value));
    const std::string revision_uid = catalog_.add_item_revision(input.text1, "A", false);
    reply.output[key] = {item_uid, revision_uid};
    created.push_back(item_uid);
    created.push_back(revision_uid);
  }
  auto errors = std::move(reply.data.errors);
  reply.data = store_.reply_with(created, ProductCatalog::identity());
  reply.data.errors = std::move(errors);
  reply.data.created = created;
  return reply;
}

CreateObjectsReply DataManagementWorld::createObjects(const std::vector<ObjectCreateRecord>& inputs) {
  CreateObjectsReply reply;
  std::vector<std::string> created;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto& input = inputs[i];
    if (input.type.empty()) {
      errors.push_back(WorldStore::error_of(static_cast<int>(i), input.client_id, 214501, "An object needs a type."));
      continue;
    }
    std::vector<std::string> types = {input.type, "POM_object"};
    std::string stem = "object-";
    if (input.type == "ValReqResult") {
      types = ValidationWorld::result_types();
      stem = "valresult-";
    } else if (input.type == "ValidationParams") {
      types = ValidationWorld::parameter_types();
      stem = "valparams-";
    }
    const std::string uid = store_.fresh_uid(stem);
    std::vector<WireProperty> properties;
    // A result the client gives no report has an empty list, as the type holds one.
    if (input.type == "ValReqResult") properties.push_back(props::refs("validation_report", {}));
    for (const auto& [name, value] : input.strings) properties.push_back(props::str(name, value));
    for (const auto& [name, values] : input.string_arrays) properties.push_back(props::strs(name, values));
    for (const auto& [name, value] : input.ints) properties.push_back(props::integer(name, value));
    for (const auto& [name, value] : input.logicals) properties.push_back(props::logical(name, value));
    for (const auto& [name, value] : input.dates) properties.push_back(props::date(name, value));
    for (const auto& [name, value] : input.references) properties.push_back(props::ref(name, value));
    for (const auto& [name, values] : input.reference_arrays) properties.push_back(props::refs(name, values));
    store_.add_object(uid, std::move(types), std::move(properties));
    reply.outputs.push_back({input.client_id, {uid}});
    created.push_back(uid);
  }
  reply.data = store_.reply_with(created);
  reply.data.created = created;
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData DataManagementWorld::removeNamedReferences(const std::vector<RemoveNamedReferencesRecord>& inputs) {
  UidList updated;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto& input = inputs[i];
    WorldStore::StoredObject* dataset = store_.find(input.dataset_uid);
    if (!dataset) {
      errors.push_back(WorldStore::not_found(input.dataset_uid));
      continue;
    }
    auto& names = dataset->properties["ref_names"];
    if (names.name.empty()) names = props::strs("ref_names", {});
    auto& list = dataset->properties["ref_list"];
    if (list.name.empty()) list = props::refs("ref_list", {});
    for (const auto& reference : input.references) {
      bool found = false;
      for (std::size_t k = names.strings.size(); k-- > 0;) {
        if (!same_ignoring_case(names.strings[k], reference.name)) continue;
        found = true;
        names.strings.erase(names.strings.begin() + static_cast<std::ptrdiff_t>(k));
        if (k < list.references.size()) list.references.erase(list.references.begin() + static_cast<std::ptrdiff_t>(k));
      }
      if (!found)
        errors.push_back(
            WorldStore::error_of(static_cast<int>(i), input.client_id, 214502,
                                 "The dataset " + input.dataset_uid + " has no reference " + reference.name + "."));
    }
    updated.add(input.dataset_uid);
  }
  WireServiceData data = store_.reply_with(updated.uids(), {"ref_list", "ref_names"});
  data.updated = updated.uids();
  data.errors = std::move(errors);
  return data;
}

}  // namespace Halden::Soa::Server
