// CAD part creation in the sample world, made of core creation's items and
// datasets and file management's write tickets.
#include "halden/server/world/CadDataManagementWorld.h"

namespace Halden::Soa::Server {

CreatePartsReply CadDataManagementWorld::createParts(const std::vector<PartCreateRecord>& parts) {
  CreatePartsReply reply;
  std::vector<std::string> created;
  std::vector<WireErrorStack> errors;
  Written written;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto& part = parts[i];
    if (!part.item.object_uid.empty() && store_.find(part.item.object_uid)) {
      reply.outputs.push_back(write_attributes(part, static_cast<int>(i), written));
      continue;
    }
    ItemCreateRecord item{part.item.text1, part.item.text2, part.item.text3, {}};
    for (const auto& nv : part.item.name_values) item.attributes[nv.name] = nv.value;
    auto items = datamanagement_.createItems({{"", item}});
    if (items.output.empty()) {
      for (auto& e : items.data.errors) errors.push_back({e.associated_uid, static_cast<int>(i), part.text, e.values});
      continue;
    }
    const CreatedItemRecord made = items.output.begin()->second;
    created.push_back(made.item_uid);
    created.push_back(made.revision_uid);
    PartOutputRecord output{part.text, made.item_uid, made.revision_uid, {}, {}, {}};
    for (const auto& section : part.datasets) {
      auto datasets = datamanagement_.createDatasets(
          {{section.text1, made.revision_uid, section.text4, section.text2, section.text3, section.text5, ""}});
      const std::string uid = datasets.output.at(section.text1);
      created.push_back(uid);
      CommitInfoRecord commit{uid, section.flag, {}};
      for (const auto& f : section.file_infos)
        commit.file_infos.push_back({f.text1, f.text2, f.text3, f.flag1, f.flag2,
                                     files_.issue_write_ticket(uid, reference_name_of(f), f.text2)});
      output.datasets.push_back({section.text1, uid, {std::move(commit)}, {}, {}});
    }
    reply.outputs.push_back(std::move(output));
  }
  std::vector<std::string> carried = created;
  carried.insert(carried.end(), written.objects.uids().begin(), written.objects.uids().end());
  reply.data = store_.reply_with(carried, written.names.uids());
  reply.data.created = created;
  reply.data.updated = written.objects.uids();
  reply.data.errors = std::move(errors);
  reply.data.errors.insert(reply.data.errors.end(), written.errors.begin(), written.errors.end());
  return reply;
}

}  // namespace Halden::Soa::Server
