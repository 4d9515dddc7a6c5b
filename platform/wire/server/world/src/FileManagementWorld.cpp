#include "halden/server/world/FileManagementWorld.h"

namespace Halden::Soa::Server {

ReadTicketsReply FileManagementWorld::getFileReadTickets(const std::vector<std::string>& file_uids) {
  ReadTicketsReply reply;
  for (const auto& uid : file_uids) {
    if (store_.find(uid)) {
      reply.tickets[uid] = "read-" + uid;
    } else {
      reply.data.errors.push_back(WorldStore::not_found(uid));
    }
  }
  return reply;
}

std::string FileManagementWorld::issue_write_ticket(const std::string& dataset_uid, const std::string& reference_name,
                                                    const std::string& file_name) {
  std::string ticket = "write-" + std::to_string(++issued_);
  write_tickets_[ticket] = {dataset_uid, reference_name, file_name};
  return ticket;
}

WriteTicketsReply FileManagementWorld::getDatasetWriteTickets(const std::vector<WriteTicketRecord>& inputs) {
  WriteTicketsReply reply;
  UidList carried;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto& input = inputs[i];
    if (!input.dataset_uid.empty() && !store_.find(input.dataset_uid)) {
      reply.data.errors.push_back(WorldStore::not_found(input.dataset_uid));
      reply.commit_infos.push_back({"", input.flag, {}});
      continue;
    }
    CommitInfoRecord info{input.dataset_uid, input.flag, {}};
    for (const auto& f : input.file_infos)
      info.file_infos.push_back({f.text1, f.text2, f.text3, f.flag1, f.flag2,
                                 issue_write_ticket(input.dataset_uid, reference_name_of(f), f.text2)});
    carried.add(input.dataset_uid);
    reply.commit_infos.push_back(std::move(info));
  }
  auto errors = std::move(reply.data.errors);
  reply.data = store_.reply_with(carried.uids());
  reply.data.errors = std::move(errors);
  return reply;
}

WireServiceData FileManagementWorld::commitDatasetFiles(const std::vector<CommitRecord>& inputs) {
  WireServiceData data;
  UidList updated;
  std::vector<WireErrorStack> errors;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const auto& input = inputs[i];
    for (const auto& f : input.file_infos) {
      auto ticket = write_tickets_.find(f.text4);
      if (ticket == write_tickets_.end() || !store_.find(ticket->second.dataset_uid)) {
        errors.push_back(WorldStore::error_of(static_cast<int>(i), f.text4, 214301,
                                              "The write ticket \"" + f.text4 + "\" is not known."));
        continue;
      }
      const std::string file = catalog_.add_dataset_file(ticket->second.dataset_uid, ticket->second.reference_name,
                                                         ticket->second.file_name);
      store_.set_property(file, props::integer("text_flag", f.flag1 ? 1 : 0));
      updated.add(ticket->second.dataset_uid);
      write_tickets_.erase(ticket);
    }
  }
  data = store_.reply_with(updated.uids(), {"ref_list", "ref_names"});
  data.updated = updated.uids();
  data.errors = std::move(errors);
  return data;
}

}  // namespace Halden::Soa::Server
