// File management in the sample world: tickets handed out per file and per
// file to upload, and commits that turn a write ticket into a file of its
// dataset.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/FileManagementStub.h"
#include "halden/server/WorldStore.h"
#include "halden/server/world/ProductCatalog.h"

namespace Halden::Soa::Server {

class FileManagementWorld : public FileManagementStub {
 public:
  FileManagementWorld(WorldStore& store, ProductCatalog& catalog) : store_(store), catalog_(catalog) {}

  ReadTicketsReply getFileReadTickets(const std::vector<std::string>& file_uids) override;
  WriteTicketsReply getDatasetWriteTickets(const std::vector<WriteTicketRecord>& inputs) override;
  WireServiceData commitDatasetFiles(const std::vector<CommitRecord>& inputs) override;

  // A write ticket for a file of the dataset, as getDatasetWriteTickets
  // hands out (also for the CAD part creation's commit infos).
  std::string issue_write_ticket(const std::string& dataset_uid, const std::string& reference_name,
                                 const std::string& file_name);
  // The write tickets handed out and not committed yet.
  std::size_t open_write_tickets() const { return write_tickets_.size(); }

 private:
  struct Upload {
    std::string dataset_uid, reference_name, file_name;
  };
  WorldStore& store_;
  ProductCatalog& catalog_;
  std::map<std::string, Upload> write_tickets_;
  int issued_ = 0;
};

}  // namespace Halden::Soa::Server
