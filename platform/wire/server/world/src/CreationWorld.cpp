// Core creation in the sample world: datasets and items added to the store
// and the catalog, so later requests find them.
#include <string>

#include "halden/server/world/DataManagementWorld.h"

namespace Halden::Soa::Server {

namespace {

const std::vector<std::string> kDatasetTypes = {"Dataset", "WorkspaceObject", "POM_object"};

std::string fresh_uid(const WorldStore& store, const std::string& stem) {
  for (int n = 1;; ++n) {
    std::string uid = stem + std::to_string(n);
    if (!store.find(uid)) return uid;
  }
}

}  // namespace

CreateDatasetsReply DataManagementWorld::createDatasets(const std::vector<DatasetCreateRecord>& inputs) {
  CreateDatasetsReply reply;
  std::vector<std::string> created;
  for (const auto& input : inputs) {
    const std::string uid = fresh_uid(store_, "dataset-");
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

}  // namespace Halden::Soa::Server
