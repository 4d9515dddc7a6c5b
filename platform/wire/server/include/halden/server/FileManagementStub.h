// File management: read tickets of file objects, write tickets for files to
// upload into datasets, and the commit of uploaded files.
//
// What the sample world answers:
// - getFileReadTickets: per known file UID one ticket "read-<uid>"; an
//   unknown UID a level-3 error and no ticket.
// - getDatasetWriteTickets: per input, in order, one commit info with the
//   input's dataset and flag and, per file info, its five fields and a new
//   ticket "write-<n>" in text4. A ticket remembers its dataset, the
//   reference name (FileInfoRecords.h) and text2 (the file name).
// - commitDatasetFiles: per file info, a known ticket (text4) becomes a new
//   "OstraFile" referenced from its dataset's "ref_list" under the reference
//   name on "ref_names", with "text_flag" 1 when flag1 (is text) is set,
//   else 0, and is used up; an unknown ticket gets a level-3
//   error. The dataset of the input is updated.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "halden/server/FileInfoRecords.h"
#include "halden/server/Wire.h"

namespace Halden::Soa::Server {

struct ReadTicketsReply {
  std::map<std::string, std::string> tickets;  // file UID ("" for none) -> ticket
  WireServiceData data;
};

struct WriteTicketRecord {
  std::string dataset_uid;
  bool flag = false;
  std::vector<FileInfoRecord> file_infos;
};

struct WriteTicketsReply {
  std::vector<CommitInfoRecord> commit_infos;
  WireServiceData data;
};

struct CommitRecord {
  std::string dataset_uid;
  bool flag = false;
  std::vector<FileInfoExtRecord> file_infos;
};

class FileManagementStub {
 public:
  virtual ~FileManagementStub() = default;
  virtual ReadTicketsReply getFileReadTickets(const std::vector<std::string>& file_uids) = 0;
  virtual WriteTicketsReply getDatasetWriteTickets(const std::vector<WriteTicketRecord>& inputs) = 0;
  virtual WireServiceData commitDatasetFiles(const std::vector<CommitRecord>& inputs) = 0;
};

}  // namespace Halden::Soa::Server
